#include "core/official_place.h"

#include <cmath>

#include "core/calendar.h"

namespace miravel {

namespace {

// A province centre as the settlement list gives it and the reference point
// of its official timetable, both in hundredths of a degree. Recovered from
// the official tables of the 81 provinces, 2022-2026 (the point on a
// 0.01-degree grid that gives the most exact minutes); provinces whose point
// is the list's own are left out, and so is Kırıkkale, whose published table
// is for another place.
struct ReferencePoint {
    int16_t listLatitude, listLongitude, latitude, longitude;
};
constexpr ReferencePoint kReferencePoints[] = {
    {3620, 3615, 3620, 3616},  // Hatay
    {3681, 3463, 3679, 3463},  // Mersin
    {3690, 3069, 3688, 3068},  // Antalya
    {3698, 3532, 3698, 3533},  // Adana
    {3705, 3738, 3706, 3737},  // Gaziantep
    {3707, 3624, 3706, 3625},  // Osmaniye
    {3716, 3879, 3715, 3879},  // Şanlıurfa
    {3718, 3321, 3718, 3322},  // Karaman
    {3751, 4245, 3751, 4246},  // Şırnak
    {3758, 3692, 3757, 3693},  // Kahramanmaraş
    {3772, 3029, 3772, 3028},  // Burdur
    {3776, 3827, 3775, 3828},  // Adıyaman
    {3784, 2783, 3785, 2785},  // Aydın
    {3787, 3248, 3786, 3249},  // Konya
    {3788, 4113, 3787, 4111},  // Batman
    {3791, 4021, 3791, 4022},  // Diyarbakır
    {3792, 4194, 3793, 4194},  // Siirt
    {3796, 3467, 3796, 3468},  // Niğde
    {3835, 3831, 3834, 3832},  // Malatya
    {3837, 3402, 3836, 3404},  // Aksaray
    {3840, 4210, 3840, 4211},  // Bitlis
    {3841, 2713, 3842, 2714},  // İzmir
    {3849, 4338, 3849, 4339},  // Van
    {3861, 2742, 3861, 2743},  // Manisa
    {3867, 2940, 3867, 2941},  // Uşak
    {3867, 3922, 3867, 3921},  // Elazığ
    {3873, 3548, 3872, 3549},  // Kayseri
    {3873, 4148, 3873, 4149},  // Muş
    {3909, 3954, 3910, 3955},  // Tunceli
    {3942, 2998, 3941, 2998},  // Kütahya
    {3964, 2788, 3963, 2788},  // Balıkesir
    {3971, 4305, 3971, 4304},  // Ağrı
    {3973, 3949, 3974, 3949},  // Erzincan
    {3974, 3701, 3975, 3702},  // Sivas
    {3977, 3052, 3976, 3052},  // Eskişehir
    {3982, 3480, 3981, 3480},  // Yozgat
    {3991, 3285, 3994, 3285},  // Ankara
    {3992, 4404, 3991, 4404},  // Iğdır
    {4014, 2997, 4014, 2999},  // Bilecik
    {4015, 2641, 4014, 2641},  // Çanakkale
    {4019, 2906, 4018, 2906},  // Bursa
    {4025, 4022, 4025, 4023},  // Bayburt
    {4031, 3655, 4031, 3656},  // Tokat
    {4046, 3947, 4046, 3948},  // Gümüşhane
    {4054, 3495, 4055, 3495},  // Çorum
    {4059, 4308, 4059, 4309},  // Kars
    {4060, 3361, 4059, 3362},  // Çankırı
    {4065, 2927, 4065, 2926},  // Yalova
    {4073, 3160, 4073, 3159},  // Bolu
    {4076, 2992, 4076, 2993},  // Kocaeli
    {4078, 3040, 4077, 3042},  // Sakarya
    {4083, 3116, 4083, 3117},  // Düzce
    {4091, 3838, 4092, 3839},  // Giresun
    {4097, 3789, 4097, 3788},  // Ordu
    {4100, 3972, 4100, 3969},  // Trabzon
    {4101, 2894, 4101, 2898},  // İstanbul
    {4102, 4052, 4102, 4051},  // Rize
    {4110, 4270, 4111, 4271},  // Ardahan
    {4118, 4182, 4117, 4182},  // Artvin
    {4120, 3262, 4119, 3261},  // Karabük
    {4127, 3633, 4128, 3633},  // Samsun
    {4137, 3377, 4137, 3378},  // Kastamonu
    {4145, 3179, 4145, 3178},  // Zonguldak
    {4202, 3516, 4203, 3515},  // Sinop
};

}  // namespace

OfficialPlace::OfficialPlace(AstroState& s)
    : s_(s), latitudeRad_(s.latitudeRad), lonMin_(s.lonMin) {
    // The hundredths SetLocation was given.
    const long lat = std::lround(s.latitudeRad / LatitudeRadians(1));
    const long lon = std::lround(s.lonMin / LongitudeMinutes(1));
    for (const ReferencePoint& p : kReferencePoints) {
        if (p.listLatitude != lat || p.listLongitude != lon) continue;
        s.latitudeRad = LatitudeRadians(p.latitude);
        s.lonMin = LongitudeMinutes(p.longitude);
        return;
    }
}

OfficialPlace::~OfficialPlace() {
    s_.latitudeRad = latitudeRad_;
    s_.lonMin = lonMin_;
}

}  // namespace miravel
