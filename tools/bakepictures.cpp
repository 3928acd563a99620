// Decodes the window's pictures for the program to carry:
//
//     bakepictures OUTPUT_DIR PICTURE...
//
// writes OUTPUT_DIR/NAME for each PICTURE (NAME is its file name without the
// extension), holding every image the picture file holds.

#include "pictures.h"

#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <cstdio>

namespace {

QList<QImage> ReadAll(const QString &path) {
    QImageReader reader(path);
    QList<QImage> images;
    const int count = qMax(reader.imageCount(), 1);
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i))
            return {};
        const QImage image = reader.read();
        if (image.isNull()) {
            std::fprintf(stderr, "bakepictures: %s: %s\n", qPrintable(path),
                         qPrintable(reader.errorString()));
            return {};
        }
        images.append(image);
    }
    return images;
}

} // namespace

int main(int argc, char *argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: bakepictures OUTPUT_DIR PICTURE...\n");
        return 2;
    }
    const QString output = QString::fromLocal8Bit(argv[1]);
    for (int i = 2; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QList<QImage> images = ReadAll(path);
        if (images.isEmpty())
            return 1;
        QSaveFile file(output + u'/' + QFileInfo(path).completeBaseName());
        if (!file.open(QIODevice::WriteOnly) || file.write(vb::BakePictures(images)) < 0 ||
            !file.commit()) {
            std::fprintf(stderr, "bakepictures: cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
    }
    return 0;
}
