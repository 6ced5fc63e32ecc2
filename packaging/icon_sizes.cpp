// Writes the program's icon in the icon theme's sizes, from the one bitmap the program carries:
//   velmorra_icon_sizes <source.png> <output folder> <name> <size>...
// Each size goes to <output folder>/<size>x<size>/apps/<name>.png. The bitmap is drawn on its own
// pixel grid, so a whole multiple of it repeats each pixel and stays sharp; other sizes are
// filtered.

#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s <source.png> <output folder> <name> <size>...\n", argv[0]);
        return 2;
    }
    const QImage source(QString::fromLocal8Bit(argv[1]));
    if (source.isNull() || source.width() != source.height()) {
        std::fprintf(stderr, "%s: not a square image\n", argv[1]);
        return 1;
    }
    const QString name = QString::fromLocal8Bit(argv[3]);
    for (int index = 4; index < argc; ++index) {
        const int size = std::atoi(argv[index]);
        if (size <= 0) {
            std::fprintf(stderr, "%s: not a size\n", argv[index]);
            return 2;
        }
        const bool multiple = size % source.width() == 0;
        const QImage icon = source.scaled(size, size, Qt::IgnoreAspectRatio,
                                          multiple ? Qt::FastTransformation : Qt::SmoothTransformation);
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(QString::fromLocal8Bit(argv[2])).arg(size);
        if (!QDir().mkpath(folder) || !icon.save(folder + QLatin1Char('/') + name + QStringLiteral(".png"))) {
            std::fprintf(stderr, "%s: cannot write\n", qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
