// A film speed data file of the FILM folder, read for any TimeStep and
// TimeLag; what is accepted must read back the same from the text the
// generator would write for it.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "sim/film_data.h"
#include "tests/support/temp_dir.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const zyrtest::TempDir dir;
    FuzzedDataProvider in(data, size);
    const auto lTimeStep = in.ConsumeIntegral<int32_t>();
    const auto lTimeLag = in.ConsumeIntegral<int32_t>();
    const std::string sPath = dir.file("NP_P1_A.dat");
    zyrtest::writeBytes(sPath, in.ConsumeRemainingBytesAsString());
    sim::FilmData film;
    if (sim::lReadFilmData(sPath, lTimeStep, lTimeLag, film) != 0) return 0;
    sim::FilmData again;
    if (sim::lParseFilmData(sim::sFormatFilmData(film), lTimeStep, lTimeLag, again) != 0 || again.sName != film.sName ||
        again.eProjection != film.eProjection || again.booChild != film.booChild ||
        again.lExposureMs != film.lExposureMs || again.lSpeeds != film.lSpeeds)
        std::abort();
    return 0;
}
