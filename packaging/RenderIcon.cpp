// Renders the SVG icon into the PNG sizes the desktop's icon theme looks up.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    if (args.size() != 4) {
        QTextStream(stderr) << "usage: ombrel-render-icon SVG SIZE PNG\n";
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    bool number = false;
    const int size = args.at(2).toInt(&number);
    if (!renderer.isValid() || !number || size <= 0) {
        QTextStream(stderr) << "cannot render " << args.at(1) << " at " << args.at(2) << '\n';
        return 1;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    return image.save(args.at(3), "PNG") ? 0 : 1;
}
