#include <cstdio>

#include "ui/project_addresses.h"

namespace miravel {

const char* AboutText() {
    static char text[640];
    if (text[0] == '\0') {
        std::snprintf(text, sizeof text,
                      "Miravel %s — namaz vakitleri ve takvim\n"
                      "© 2026 Miravel geliştiricileri. Tüm hakları saklıdır.\n"
                      "Özgür yazılımdır: GPL-3.0-or-later lisansıyla kullanılabilir, "
                      "değiştirilip dağıtılabilir; hiçbir garanti verilmez.\n"
                      "Veriler: GeoNames (CC BY 4.0), Natural Earth (kamu malı), KStars ay "
                      "fotoğrafı (GPL-2+), IGRF-12 (IAGA).\n"
                      "E-posta: %s",
                      MIRAVEL_VERSION, kProjectEmail[0] != '\0' ? kProjectEmail : "—");
    }
    return text;
}

}  // namespace miravel
