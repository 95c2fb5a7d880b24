// Build step: draws the console's five animation clips and writes them as
// NAME.avi into the folder given, the program's Animation folder.
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "tools/make_clips_scenes.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <Animation folder>\n", argv[0]);
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const std::string folder = argv[1];
    for (const std::string& name : clips::clipNames()) {
        const std::string path = folder + "/" + name + ".avi";
        if (!clips::writeAviRle8File(clips::drawClip(name), path)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
