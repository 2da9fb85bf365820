; Miravel installer (NSIS 3, Modern UI 2), in Turkish.
;
; Installs for the current user alone, into a folder the user can write, so
; that the program can keep its settings (miravel.ini) beside itself. No
; administrator rights are asked for.
;
; makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=<folder with the files>
;          -DOUTFILE=<setup.exe> packaging/miravel.nsi
; scripts/package.sh does this.

; A 64-bit installer for the 64-bit program.
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user

!ifndef VERSION
  !error "VERSION is not defined"
!endif
!ifndef STAGE
  !error "STAGE is not defined"
!endif
!ifndef OUTFILE
  !define OUTFILE "miravel-${VERSION}-setup.exe"
!endif

!define APP "Miravel"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Miravel"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"

Name "${APP}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\Miravel"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${APP} ${VERSION}"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1055 "ProductName" "${APP}"
VIAddVersionKey /LANG=1055 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1055 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1055 "FileDescription" "${APP} kurulum programı"
VIAddVersionKey /LANG=1055 "LegalCopyright" "GPL-3.0-or-later"

!include "MUI2.nsh"

; The manual the shortcut and the finish page open: the RTF file where a
; program is registered for RTF, else the HTML file (Windows 11 has no
; WordPad); both are installed.
Var Manual
!include "WinMessages.nsh"

!define MUI_ICON "${STAGE}\miravel.ico"
!define MUI_UNICON "${STAGE}\miravel.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!define MUI_WELCOMEPAGE_TEXT "Bu sihirbaz, namaz vakitleri programı ${APP} ${VERSION} sürümünü bilgisayarınıza kuracaktır.$\r$\n$\r$\nProgram yalnızca sizin kullanıcınız için kurulur; yönetici izni gerekmez.$\r$\n$\r$\nDevam etmek için İleri'ye tıklayın."
!insertmacro MUI_PAGE_WELCOME
; The GPL asks for no acceptance: the page only shows the terms.
!define MUI_LICENSEPAGE_BUTTON "$(^NextBtn)"
!define MUI_LICENSEPAGE_TEXT_BOTTOM "${APP} özgür yazılımdır: bu lisansın koşullarıyla kullanabilir, değiştirebilir ve dağıtabilirsiniz."
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\miravel.exe"
!define MUI_FINISHPAGE_RUN_TEXT "${APP}'i şimdi başlat"
!define MUI_FINISHPAGE_SHOWREADME "$Manual"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "Kullanım kılavuzunu aç"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Turkish"

; A running Miravel is asked to quit first (its main window, class "Miravel",
; ends the program on WM_CLOSE), so its files can be replaced or removed and
; it writes its settings before they are looked at.
!macro CloseRunningMiravel
  StrCpy $1 0
  close_loop:
    FindWindow $0 "Miravel"
    StrCmp $0 0 close_done
    IntCmp $1 10 close_done
    SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
    Sleep 500
    IntOp $1 $1 + 1
    Goto close_loop
  close_done:
!macroend

Section "${APP} (gerekli)" SecMain
  SectionIn RO
  !insertmacro CloseRunningMiravel
  SetOutPath "$INSTDIR"
  File "${STAGE}\miravel.exe"
  File "${STAGE}\miravel-cli.exe"
  File "${STAGE}\miravel.ico"
  File "${STAGE}\miravel.rtf"
  File "${STAGE}\miravel.html"
  File "${STAGE}\miravel.csv"
  File "${STAGE}\ezan.wav"
  File "${STAGE}\sala.wav"
  File "${STAGE}\ezandua.wav"
  File "${STAGE}\README.md"
  File "${STAGE}\LICENSE.txt"
  ; The sample settings only on a first installation: an update keeps the
  ; user's own miravel.ini.
  IfFileExists "$INSTDIR\miravel.ini" +2 0
    File "${STAGE}\miravel.ini"

  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetShellVarContext current
  CreateDirectory "$SMPROGRAMS\${APP}"
  CreateShortcut "$SMPROGRAMS\${APP}\${APP}.lnk" "$INSTDIR\miravel.exe" "" "$INSTDIR\miravel.ico" 0
  ; A program for RTF: the type's class has an "open" command (a class
  ; left behind by a removed WordPad has none).
  StrCpy $Manual "$INSTDIR\miravel.html"
  ReadRegStr $0 HKCR ".rtf" ""
  StrCmp $0 "" manual_chosen
  ReadRegStr $1 HKCR "$0\shell\open\command" ""
  StrCmp $1 "" manual_chosen
  StrCpy $Manual "$INSTDIR\miravel.rtf"
  manual_chosen:
  CreateShortcut "$SMPROGRAMS\${APP}\Kullanım Kılavuzu.lnk" "$Manual"
  CreateShortcut "$SMPROGRAMS\${APP}\${APP}'i Kaldır.lnk" "$INSTDIR\uninstall.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${APP}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\miravel.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" 2048
SectionEnd

Section /o "Masaüstü kısayolu" SecDesktop
  SetShellVarContext current
  CreateShortcut "$DESKTOP\${APP}.lnk" "$INSTDIR\miravel.exe" "" "$INSTDIR\miravel.ico" 0
SectionEnd

; The same value the program's own option "Kendiliğinden Başlat" writes, so
; the options dialog shows it and can switch it off again.
Section /o "Windows açılınca başlat" SecAutostart
  WriteRegStr HKCU "${RUN_KEY}" "${APP}" '"$INSTDIR\miravel.exe"'
SectionEnd

Section "Uninstall"
  !insertmacro CloseRunningMiravel

  Delete "$INSTDIR\miravel.exe"
  Delete "$INSTDIR\miravel-cli.exe"
  Delete "$INSTDIR\miravel.ico"
  Delete "$INSTDIR\miravel.rtf"
  Delete "$INSTDIR\miravel.html"
  Delete "$INSTDIR\miravel.csv"
  Delete "$INSTDIR\ezan.wav"
  Delete "$INSTDIR\sala.wav"
  Delete "$INSTDIR\ezandua.wav"
  Delete "$INSTDIR\README.md"
  Delete "$INSTDIR\LICENSE.txt"
  ; What the program itself writes there: the last report and the wallpaper.
  Delete "$INSTDIR\miravel.txt"
  Delete "$INSTDIR\wall.bmp"

  ; The settings stay unless the user asks; a silent uninstall keeps them.
  IfFileExists "$INSTDIR\miravel.ini" 0 +3
    MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Ayarlarınız (miravel.ini) da silinsin mi?$\r$\n$\r$\nHayır derseniz, programı yeniden kurduğunuzda ayarlarınız kullanılır." /SD IDNO IDNO +2
    Delete "$INSTDIR\miravel.ini"

  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  SetShellVarContext current
  Delete "$SMPROGRAMS\${APP}\${APP}.lnk"
  Delete "$SMPROGRAMS\${APP}\Kullanım Kılavuzu.lnk"
  Delete "$SMPROGRAMS\${APP}\${APP}'i Kaldır.lnk"
  RMDir "$SMPROGRAMS\${APP}"
  Delete "$DESKTOP\${APP}.lnk"

  DeleteRegValue HKCU "${RUN_KEY}" "${APP}"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
