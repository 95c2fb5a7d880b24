// Film speed data: the sweep the sensor follows during one image. A text
// file per exposure mode (FILM/NP_<code>.dat beside the program) gives the
// projection, the patient build, the X-ray time of one image and the
// sensor's line clock for every TimeStep milliseconds of it.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

enum class Projection { Panoramic, Tmj };

struct FilmData {
    std::string sName;                 // "NP_P1_A"
    Projection eProjection = Projection::Panoramic;
    bool booChild = false;             // child build: smaller arch, mixed dentition
    int32_t lExposureMs = 0;           // X-ray time of one image
    std::vector<int32_t> lSpeeds;      // line clock, lines per second, one per TimeStep
};

// What the sensor can do: an image integrates at most kMaxWindowMs (X-ray time
// and read-out lag together), and the line clock runs between these limits.
inline constexpr int32_t kMinExposureMs = 500;
inline constexpr int32_t kMaxWindowMs = 20000;
inline constexpr int32_t kMinLineRate = 50;
inline constexpr int32_t kMaxLineRate = 3000;

// Statuses of reading a film speed data file.
inline constexpr int32_t kFilmUnreadable = -99;  // missing or unreadable file
inline constexpr int32_t kFilmInvalid = 10;      // not a film speed data file, bad value
inline constexpr int32_t kFilmOutOfRange = 11;   // beyond the sensor's exposure range
inline constexpr int32_t kFilmLagExceeds = 12;   // in range alone, not with the time lag

// Reads and checks the file for the given TimeStep (ms per speed value) and
// TimeLag (ms the sensor clocks on after the X-ray). 0 when it is usable.
int32_t lReadFilmData(const std::string& sPath, int32_t lTimeStep, int32_t lTimeLag, FilmData& tFilm);

// Parses file contents; the same checks as lReadFilmData.
int32_t lParseFilmData(const std::string& sText, int32_t lTimeStep, int32_t lTimeLag, FilmData& tFilm);

// The file text for the data; what the generator of the FILM folder writes.
std::string sFormatFilmData(const FilmData& tFilm);

}  // namespace sim
