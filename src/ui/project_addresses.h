// Where the about dialog and the options dialog point to, in one place.
//
// The project publishes no web server and no mailbox of its own yet: the web
// button opens the user manual that ships beside the program (see
// app/manual.h), the e-mail address is empty (the about box shows "—" and
// its e-mail button stays disabled), and
// the salâ file has no download address (the program ships "sala.wav"; when
// it is missing, the options dialog asks the user to choose a WAV file
// instead of offering a download that cannot succeed).
#pragma once

namespace miravel {

inline constexpr char kProjectEmail[] = "";
inline constexpr char kSalaDownloadUrl[] = "";

// The text of the about box: credit, rights, terms and the data credits.
const char* AboutText();

}  // namespace miravel
