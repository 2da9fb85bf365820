#include <string>

#include "ui/project_addresses.h"

namespace miravel {

const char* AboutText() {
    static const std::string text =
        std::string("Miravel ") + MIRAVEL_VERSION +
        " — namaz vakitleri ve takvim\n"
        "© 2026 Miravel geliştiricileri. Tüm hakları saklıdır.\n"
        "Özgür yazılımdır: GNU GPL 3 veya sonraki bir sürümüyle kullanılabilir, "
        "değiştirilip dağıtılabilir; hiçbir garanti verilmez.\n"
        "Veriler: yerleşimler GeoNames (CC BY 4.0); kara haritası Natural Earth "
        "(kamu malı, world-atlas); ay resmi KStars (kstars-data, GPL-2+); "
        "IGRF-12 (IAGA).";
    return text.c_str();
}

}  // namespace miravel
