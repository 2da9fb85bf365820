// The astronomy core's one working record: location, working date and clock,
// cache flags, and the working values of the sun, moon, Hijri and geomagnetic
// computations. Callers own it and pass it by reference; nothing is global.
//
// Working values are single-precision floats where the computations store
// them: the minutes the program shows depend on that rounding, so it is kept
// deliberately. Arithmetic between them is done in double.
#pragma once

#include <cstdint>

namespace miravel {

// The ten times of the day; the number also indexes the temkin table.
enum Vakit : int16_t {
    Imsak = 1,
    Gunes = 2,
    Israk = 3,
    Istiva = 4,
    Ogle = 5,
    Ikindi = 6,
    AsriSani = 7,
    Isfirar = 8,
    Aksam = 9,
    Yatsi = 10,
};

inline constexpr int kVakitCount = 10;

struct AstroState {
    // Inputs.
    float latitudeRad = 0.0f;  // north positive
    float lonMin = 0.0f;       // longitude as minutes of time, east positive
    int16_t zoneMinutes = 0;   // local clock minus UT, summer hour included
    int16_t day = 0, month = 0, year = 0;
    int16_t clockMinutes = 0;
    int16_t hijriValid = 0;
    int16_t moonValid = 0;
    int16_t geomagValid = 0;

    // Active calculation parameters.
    int16_t temkin[kVakitCount + 1] = {0, -2, -7, 10, 0, 5, 5, 5, 0, 7, 2};  // by Vakit
    float imsakAngle = -18.0f;
    float yatsiAngle = -17.0f;
    int16_t mode = 4;
    // Non-zero: the times follow the convention of Turkey's official
    // timetable (see ComputeVakit); zero: the program's own arithmetic.
    int16_t diyanetTimes = 0;

    // Sun.
    float offset = 0.0f;  // minutes from the local transit, or radians after SunNow
    float meanAnomaly = 0.0f;
    float eclipticLongitude = 0.0f;
    float declination = 0.0f;
    float transit = 0.0f;  // minutes after 00:00 UT of the Greenwich transit, + 0.5
    float altitude = 0.0f;
    int16_t clampIndex = 0;
    int16_t imsakHourAngle = 0;
    int16_t aksamHourAngle = 0;

    // Moon.
    int16_t crescentVisibility = 50;
    int16_t viewAltitude = 0;  // metres
    float moonT = 0.0f;
    float moonLongitude = 0.0f;
    float phaseFraction = 0.0f;
    float moonLatitude = 0.0f;
    float geoDistance = 0.0f;   // thousands of km
    float topoDistance = 0.0f;  // thousands of km
    float moonAzimuth = 0.0f;   // tenths of a degree
    float moonAltitude = 0.0f;  // degrees, topocentric
    float sunDistance = 0.0f;   // Gm
    float illumination = 0.0f;
    float crescentWidth = 0.0f;  // arc minutes
    float dip = 0.0f;            // degrees
    int16_t visibilityCode = 0;
    float savedSunDistance = 0.0f;
    float savedIllumination = 0.0f;
    int16_t savedVisibilityCode = 0;

    // Hijri.
    // Non-zero: months begin by the criterion of Turkey's official calendar
    // (see HijriDay); zero: the 8-degree elongation at 00:00 UT.
    int16_t officialHijri = 0;
    int16_t hijriMonth = 0;
    int16_t hijriYear = 0;

    // Geomagnetic field.
    float magX = 0.0f;  // nT, north
    float magY = 0.0f;  // nT, east
    float magH = 0.0f;  // nT, horizontal intensity
    float magD = 0.0f;  // degrees, declination, east positive
    int32_t magValid = 0;
};

}  // namespace miravel
