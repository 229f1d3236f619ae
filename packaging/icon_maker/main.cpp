// Writes the icon files into the folder given, so the committed icons follow
// the window's drawing.
#include "icon_files.h"

#include <QDir>
#include <QSaveFile>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <folder>\n");
        return 2;
    }
    const QDir folder{QString::fromLocal8Bit(argv[1])};
    for (const auto& [name, contents] : wattmeter::iconFiles()) {
        QSaveFile file{folder.filePath(name)};
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size() ||
            !file.commit()) {
            std::fprintf(stderr, "make_icons: cannot write %s: %s\n", qPrintable(file.fileName()),
                         qPrintable(file.errorString()));
            return 1;
        }
    }
    return 0;
}
