// Writes the program's emblem as the icon files a desktop installation needs:
// ID.svg and ID-SIZE.png for the hicolor theme, painted by the same code the
// program's own window icon is painted with.
//
//   tallomer-emblem-files OUTPUT_FOLDER ID

#include "ui/Artwork.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

namespace {

bool writeSvg(const QString& path) {
    constexpr int extent = 64;
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(QSize(extent, extent));
    svg.setViewBox(QRect(0, 0, extent, extent));
    svg.setTitle(QStringLiteral("Tallomer"));
    QPainter p;
    if (!p.begin(&svg))
        return false;
    ui::artwork::paintEmblem(p, extent);
    return p.end();
}

bool writePng(const QString& path, int extent) {
    QImage image(extent, extent, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    ui::artwork::paintEmblem(p, extent);
    p.end();
    return image.save(path, "PNG");
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication application(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: tallomer-emblem-files OUTPUT_FOLDER ID\n");
        return 2;
    }
    const QDir folder(args.at(1));
    const QString id = args.at(2);
    if (!QDir().mkpath(folder.path()))
        return 1;
    bool ok = writeSvg(folder.filePath(id + QStringLiteral(".svg")));
    for (const int extent : {16, 32, 48, 64, 128, 256})
        ok = writePng(folder.filePath(QStringLiteral("%1-%2.png").arg(id).arg(extent)), extent) &&
             ok;
    if (!ok)
        std::fprintf(stderr, "tallomer-emblem-files: cannot write into %s\n",
                     qPrintable(folder.path()));
    return ok ? 0 : 1;
}
