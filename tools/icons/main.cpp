// Renders the program's icon into the PNG sizes an icon theme holds, at build
// time, so the tree keeps one drawing only:
//   zarvopack_icons ICON.svg OUTPUT-FOLDER SIZE...
// writes OUTPUT-FOLDER/SIZExSIZE/zarvopack.png for each size.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <iostream>

int main(int argc, char** argv) {
    // Drawing needs no screen; a build machine often has none.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() < 4) {
        std::cerr << "usage: zarvopack_icons ICON.svg OUTPUT-FOLDER SIZE...\n";
        return 2;
    }
    QSvgRenderer renderer(args[1]);
    if (!renderer.isValid()) {
        std::cerr << "zarvopack_icons: cannot read " << args[1].toStdString() << '\n';
        return 1;
    }
    for (const QString& text : args.mid(3)) {
        const int size = text.toInt();
        if (size <= 0) {
            std::cerr << "zarvopack_icons: not a size: " << text.toStdString() << '\n';
            return 2;
        }
        const QString folder = QStringLiteral("%1/%2x%2").arg(args[2]).arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        if (!QDir().mkpath(folder) || !image.save(folder + QStringLiteral("/zarvopack.png"))) {
            std::cerr << "zarvopack_icons: cannot write into " << folder.toStdString() << '\n';
            return 1;
        }
    }
    return 0;
}
