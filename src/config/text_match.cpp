#include "config/text_match.h"

namespace miravel {

namespace {

char FoldByte(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c + 32);
    switch (c) {
        case 0xDD:
        case 0xFD:
            return 'i';  // İ ı
        case 0xC7:
        case 0xE7:
            return 'c';  // Ç ç
        case 0xD0:
        case 0xF0:
            return 'g';  // Ğ ğ
        case 0xD6:
        case 0xF6:
        case 0xD8:
        case 0xF8:
            return 'o';  // Ö ö Ø ø
        case 0xDE:
        case 0xFE:
        case 0x8A:
        case 0x9A:
            return 's';  // Ş ş Š š
        case 0xDC:
        case 0xFC:
        case 0xD9:
        case 0xDA:
        case 0xDB:
        case 0xF9:
        case 0xFA:
        case 0xFB:
            return 'u';
        case 0xC0:
        case 0xC1:
        case 0xC2:
        case 0xC3:
        case 0xC4:
        case 0xC5:
        case 0xE0:
        case 0xE1:
        case 0xE2:
        case 0xE3:
        case 0xE4:
        case 0xE5:
            return 'a';
        case 0xC8:
        case 0xC9:
        case 0xCA:
        case 0xCB:
        case 0xE8:
        case 0xE9:
        case 0xEA:
        case 0xEB:
            return 'e';
        case 0xCC:
        case 0xCD:
        case 0xCE:
        case 0xCF:
        case 0xEC:
        case 0xED:
        case 0xEE:
        case 0xEF:
            return 'i';
        case 0xD1:
        case 0xF1:
            return 'n';
        case 0xD2:
        case 0xD3:
        case 0xD4:
        case 0xD5:
        case 0xF2:
        case 0xF3:
        case 0xF4:
        case 0xF5:
            return 'o';
        case 0x9F:
        case 0xFF:
            return 'y';
        default:
            return static_cast<char>(c);
    }
}

}  // namespace

std::string SearchKey(std::string_view cp1254) {
    std::string out;
    out.reserve(cp1254.size());
    for (unsigned char c : cp1254)
        out += FoldByte(c);
    return out;
}

bool ContainsForSearch(std::string_view haystack, std::string_view needle) {
    return SearchKey(haystack).find(SearchKey(needle)) != std::string::npos;
}

}  // namespace miravel
