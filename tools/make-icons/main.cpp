// Writes the simulator's icon as PNG files for the hicolor icon theme:
// DIR/SIZExSIZE/apps/NAME.png for each size.
//
// usage: make-icons DIR NAME [SIZE...]   (16, 32, 48, 64, 128 and 256 unless sizes are given)

#include "desktop/WindowIcon.h"

#include <QDir>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: make-icons DIR NAME [SIZE...]\n");
        return 2;
    }
    QGuiApplication application(argc, argv);
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    std::vector<int> sizes{16, 32, 48, 64, 128, 256};
    if (argc > 3) {
        sizes.clear();
        for (int i = 3; i < argc; ++i) {
            sizes.push_back(std::atoi(argv[i]));
        }
    }
    for (int size : sizes) {
        const QString folder = QString("%1/%2x%2/apps").arg(root).arg(size);
        if (!QDir().mkpath(folder) ||
            !servo::paintWindowIcon(size).save(folder + "/" + name + ".png", "PNG")) {
            std::fprintf(stderr, "make-icons: cannot write %s\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
