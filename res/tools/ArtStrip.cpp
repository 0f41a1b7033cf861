// Draws the program's image strips at build time: each SVG drawing is
// rendered into its own cell, left to right, on a transparent strip.
//
//   kestrel-art-strip OUTPUT.png CELL_WIDTH CELL_HEIGHT DRAWING.svg...

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>
#include <cstdio>

namespace {
int Fail(const QString& message)
{
    std::fprintf(stderr, "kestrel-art-strip: %s\n", qPrintable(message));
    return 1;
}
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5)
        return Fail(QStringLiteral("usage: OUTPUT.png CELL_WIDTH CELL_HEIGHT DRAWING.svg..."));

    bool widthOk = false;
    bool heightOk = false;
    const int cellWidth = args.at(2).toInt(&widthOk);
    const int cellHeight = args.at(3).toInt(&heightOk);
    if (!widthOk || !heightOk || cellWidth <= 0 || cellHeight <= 0)
        return Fail(QStringLiteral("the cell size must be two positive numbers"));

    const QStringList drawings = args.mid(4);
    QImage strip(cellWidth * static_cast<int>(drawings.size()), cellHeight, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::transparent);

    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    for (int cell = 0; cell < drawings.size(); ++cell) {
        QSvgRenderer renderer(drawings.at(cell));
        if (!renderer.isValid())
            return Fail(QStringLiteral("cannot read %1").arg(drawings.at(cell)));
        renderer.render(&painter, QRectF(cell * cellWidth, 0, cellWidth, cellHeight));
    }
    painter.end();

    if (!strip.save(args.at(1), "PNG"))
        return Fail(QStringLiteral("cannot write %1").arg(args.at(1)));
    return 0;
}
