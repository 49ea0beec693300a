// Draws the program's icon (PNG at 32, 48, 128 and 256 pixels) and its hand pointer
// (HAND-M.CUR). Run once when the pictures change; the results are committed under
// src/app/resources. Usage: tenvoria_make_art <output folder>
#include "shell/CursorFile.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// A form on a sheet of paper: a folded corner, a coloured title band and rows of labelled
// fields, drawn on a 256-unit square and scaled to each size. Small sizes drop detail so the
// glyph stays crisp.
QImage drawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);

    const bool small = size <= 48;
    const QRectF sheet(40, 16, 176, 224);
    const qreal fold = 44;

    QPainterPath paper;
    paper.moveTo(sheet.left() + 12, sheet.top());
    paper.lineTo(sheet.right() - fold, sheet.top());
    paper.lineTo(sheet.right(), sheet.top() + fold);
    paper.lineTo(sheet.right(), sheet.bottom() - 12);
    paper.quadTo(sheet.right(), sheet.bottom(), sheet.right() - 12, sheet.bottom());
    paper.lineTo(sheet.left() + 12, sheet.bottom());
    paper.quadTo(sheet.left(), sheet.bottom(), sheet.left(), sheet.bottom() - 12);
    paper.lineTo(sheet.left(), sheet.top() + 12);
    paper.quadTo(sheet.left(), sheet.top(), sheet.left() + 12, sheet.top());

    if (!small) { // soft shadow
        p.save();
        p.translate(4, 6);
        p.fillPath(paper, QColor(0, 0, 0, 40));
        p.restore();
    }
    QLinearGradient paperShade(sheet.topLeft(), sheet.bottomRight());
    paperShade.setColorAt(0, QColor(0xff, 0xff, 0xff));
    paperShade.setColorAt(1, QColor(0xe9, 0xee, 0xf4));
    p.fillPath(paper, paperShade);
    p.setPen(QPen(QColor(0x5a, 0x6b, 0x7d), small ? 10 : 5));
    p.drawPath(paper);

    // The folded corner.
    QPainterPath corner;
    corner.moveTo(sheet.right() - fold, sheet.top());
    corner.lineTo(sheet.right() - fold, sheet.top() + fold - 8);
    corner.quadTo(sheet.right() - fold, sheet.top() + fold, sheet.right() - fold + 8, sheet.top() + fold);
    corner.lineTo(sheet.right(), sheet.top() + fold);
    corner.closeSubpath();
    p.fillPath(corner, QColor(0xc9, 0xd3, 0xde));
    p.drawPath(corner);

    // Title band.
    const QRectF band(sheet.left() + 20, sheet.top() + 24, sheet.width() - fold - 36, small ? 40 : 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x1f, 0x5f, 0xa8));
    p.drawRoundedRect(band, 6, 6);

    // Rows: a short label bar and a field box.
    const QColor label(0x7d, 0x8b, 0x99);
    const QColor fieldEdge(0x1f, 0x5f, 0xa8);
    const int rows = small ? 3 : 5;
    const qreal first = sheet.top() + (small ? 92 : 80);
    const qreal pitch = small ? 44 : 28;
    for (int i = 0; i < rows; ++i) {
        const qreal y = first + i * pitch;
        p.setPen(Qt::NoPen);
        p.setBrush(label);
        p.drawRoundedRect(QRectF(sheet.left() + 20, y + 2, small ? 36 : 40, small ? 16 : 10), 4, 4);
        p.setBrush(Qt::white);
        p.setPen(QPen(fieldEdge, small ? 7 : 4));
        const qreal fieldLeft = sheet.left() + (small ? 66 : 70);
        p.drawRoundedRect(QRectF(fieldLeft, y, sheet.right() - 20 - fieldLeft, small ? 20 : 18), 4, 4);
    }

    // A green tick in the last field, the form filled in.
    if (!small) {
        QPainterPath tick;
        tick.moveTo(150, 214);
        tick.lineTo(166, 230);
        tick.lineTo(198, 190);
        p.setPen(QPen(QColor(0x2e, 0x9e, 0x4f), 14, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
    }
    p.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// A pointing hand, drawn pixel by pixel so that it stays crisp: '#' black outline, '.' white,
// blank transparent. It points with the tip of the index finger.
QImage drawHand(QPoint *hotSpot)
{
    static const char *const rows[] = {
        "     ##          ",
        "    #..#         ",
        "    #..#         ",
        "    #..#         ",
        "    #..#         ",
        "    #..#         ",
        "    #..#         ",
        "    #..###       ",
        "    #..#..###    ",
        "    #..#..#..##  ",
        " ## #..#..#..#.# ",
        "#..##........#..#",
        "#...#...........#",
        " #..............#",
        "  #.............#",
        "  #............# ",
        "   #...........# ",
        "   #..........#  ",
        "    #.........#  ",
        "    #.........#  ",
        "    #.........#  ",
        "    ###########  ",
    };
    const QPoint origin(1, 1);
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    int y = origin.y();
    for (const char *row : rows) {
        for (int x = 0; row[x]; ++x) {
            if (row[x] == '#')
                image.setPixel(origin.x() + x, y, qRgb(0, 0, 0));
            else if (row[x] == '.')
                image.setPixel(origin.x() + x, y, qRgb(255, 255, 255));
        }
        ++y;
    }
    *hotSpot = origin + QPoint(5, 0);
    return image;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.filePath(QStringLiteral("icons")));
    for (int size : {32, 48, 128, 256}) {
        const QString path = out.filePath(QStringLiteral("icons/tenvoria-%1.png").arg(size));
        if (!drawIcon(size).save(path, "PNG"))
            return 1;
    }
    QPoint hotSpot;
    const QImage hand = drawHand(&hotSpot);
    QFile cursor(out.filePath(QStringLiteral("HAND-M.CUR")));
    if (!cursor.open(QIODevice::WriteOnly) || cursor.write(shell::encodeCursorFile(hand, hotSpot)) < 0)
        return 1;
    return 0;
}
