// Writes the film speed data of the three exposure modes into the folder
// given: FILM/NP_P1_A.dat (panorama, adult), NP_P1_C.dat (panorama, child)
// and NP_T4.dat (TMJ, one lateral view per image).
//
// The line clock follows the beam across the jaws: it starts a little slow
// while the arm gets up to speed, runs fast along the molars and slows down
// across the front teeth, where the beam passes the spine and needs more dose.
#include <cmath>
#include <cstdio>
#include <string>

#include "sim/film_data.h"

namespace {

// lSteps speeds of lBase lines/s, lowered by dDip in the middle third.
std::vector<int32_t> sweep(size_t lSteps, double dBase, double dDip, double dRamp)
{
    std::vector<int32_t> v;
    for (size_t i = 0; i < lSteps; ++i) {
        const double u = (static_cast<double>(i) + 0.5) / static_cast<double>(lSteps);
        const double mid = std::exp(-std::pow((u - 0.5) / 0.14, 2.0));
        const double start = 1.0 - dRamp * std::exp(-u / 0.03);
        v.push_back(static_cast<int32_t>(std::lround(dBase * start * (1.0 - dDip * mid))));
    }
    return v;
}

bool booWrite(const std::string& sFolder, const sim::FilmData& f)
{
    const std::string sPath = sFolder + "/" + f.sName + ".dat";
    std::FILE* fp = std::fopen(sPath.c_str(), "wb");
    if (fp == nullptr) return false;
    const std::string text = sim::sFormatFilmData(f);
    const bool ok = std::fwrite(text.data(), 1, text.size(), fp) == text.size();
    return std::fclose(fp) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const std::string sFolder = argv[1];
    // Profiles of 10 ms steps cover the X-ray and a lag of up to a second.
    sim::FilmData adult{"NP_P1_A", sim::Projection::Panoramic, false, 10000, sweep(1100, 620, 0.30, 0.4)};
    sim::FilmData child{"NP_P1_C", sim::Projection::Panoramic, true, 8000, sweep(900, 680, 0.25, 0.4)};
    sim::FilmData tmj{"NP_T4", sim::Projection::Tmj, false, 2500, sweep(350, 500, 0.0, 0.3)};
    for (const sim::FilmData* f : {&adult, &child, &tmj}) {
        if (!booWrite(sFolder, *f)) {
            std::fprintf(stderr, "%s: cannot write %s/%s.dat\n", argv[0], sFolder.c_str(), f->sName.c_str());
            return 1;
        }
    }
    return 0;
}
