// Draws the program's icon, the About picture, the date calculator's arrows, the clock dial and
// the beep tone into the assets folder:
//   kelvator_artwork <assets folder>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtEndian>
#include <QtMath>

#include <cmath>
#include <cstdio>

namespace {

// A round clock face with an orange work-day arc and two hands.
QImage Icon(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    p.setPen(QPen(QColor(90, 90, 96), 3));
    p.setBrush(QColor(0xD7, 0xD1, 0x73));
    p.drawEllipse(QRectF(3.5, 3.5, 57, 57));
    p.setPen(QPen(QColor(255, 128, 0), 6, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(11, 11, 42, 42), 90 * 16, -200 * 16);
    p.setPen(QPen(Qt::black, 2));
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        p.drawLine(QPointF(32 + 24 * std::sin(a), 32 - 24 * std::cos(a)),
                   QPointF(32 + 27 * std::sin(a), 32 - 27 * std::cos(a)));
    }
    p.setPen(QPen(Qt::black, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 32), QPointF(32, 17));
    p.setPen(QPen(QColor(40, 40, 40), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(32, 32), QPointF(44, 38));
    p.setBrush(QColor(200, 160, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(32, 32), 3, 3);
    return img;
}

// A desk with a small clock and three progress bars: day, week, month.
QImage AboutPicture()
{
    QImage img(192, 152, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 152);
    sky.setColorAt(0, QColor(215, 209, 115));
    sky.setColorAt(1, QColor(245, 240, 200));
    p.fillRect(img.rect(), sky);
    p.drawImage(QRect(12, 14, 72, 72), Icon(144));
    const QColor colours[] = {QColor(255, 128, 0), QColor(255, 128, 0), QColor(255, 220, 0)};
    const double values[] = {0.62, 0.45, 0.71};
    for (int i = 0; i < 3; ++i) {
        const QRectF bar(96, 22 + i * 22, 84, 12);
        p.setPen(QPen(QColor(110, 110, 110), 1));
        p.setBrush(Qt::white);
        p.drawRect(bar);
        QLinearGradient g(bar.topLeft(), bar.topRight());
        g.setColorAt(0, Qt::white);
        g.setColorAt(1, colours[i]);
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawRect(QRectF(bar.left() + 1, bar.top() + 1, (bar.width() - 2) * values[i], bar.height() - 2));
    }
    // A strip of calendar days, some coloured.
    const QColor days[] = {
        QColor(255, 128, 0), Qt::white, QColor(120, 200, 120), Qt::white, QColor(120, 160, 230),
        Qt::white,           Qt::white};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 14; ++c) {
            const QRectF cell(12 + c * 12.5, 100 + r * 14, 11, 12);
            p.setPen(QPen(QColor(150, 150, 150), 1));
            p.setBrush(days[(c * 3 + r * 5) % 7]);
            p.drawRect(cell);
        }
    }
    return img;
}

// A black arrow on light grey, 44 x 17: a two-pixel shaft across the width, the head at one end.
QImage Arrow(bool right)
{
    QImage img(44, 17, QImage::Format_RGB32);
    img.fill(QColor(236, 233, 216));
    QPainter p(&img);
    p.fillRect(QRect(0, 7, 44, 2), Qt::black);
    QPainterPath head;
    if (right) {
        head.moveTo(43, 8);
        head.lineTo(33, 2);
        head.lineTo(33, 14);
    } else {
        head.moveTo(0, 8);
        head.lineTo(10, 2);
        head.lineTo(10, 14);
    }
    head.closeSubpath();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillPath(head, Qt::black);
    return img;
}

// A white wall-clock dial, 280 x 280 with its centre at (140, 142): grey rim, minute and hour
// ticks, Arabic numerals 1-12 and a small gold centre dot.
QImage Dial()
{
    QImage img(280, 280, QImage::Format_RGB32);
    img.fill(QColor(236, 233, 216));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c(140, 142);
    QRadialGradient rim(c, 137);
    rim.setColorAt(0.90, QColor(150, 150, 155));
    rim.setColorAt(0.96, QColor(205, 205, 210));
    rim.setColorAt(1.00, QColor(120, 120, 125));
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(c, 137, 137);
    QRadialGradient face(c + QPointF(-30, -40), 170);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(238, 238, 236));
    p.setBrush(face);
    p.drawEllipse(c, 124, 124);
    for (int i = 0; i < 60; ++i) {
        const double a = i * M_PI / 30;
        const bool hour = i % 5 == 0;
        const double r0 = hour ? 106 : 113;
        p.setPen(QPen(Qt::black, hour ? 3.2 : 1.2, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(QPointF(c.x() + r0 * std::sin(a), c.y() - r0 * std::cos(a)),
                   QPointF(c.x() + 119 * std::sin(a), c.y() - 119 * std::cos(a)));
    }
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(21);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::black);
    for (int h = 1; h <= 12; ++h) {
        const double a = h * M_PI / 6;
        const QPointF at(c.x() + 91 * std::sin(a), c.y() - 91 * std::cos(a));
        p.drawText(QRectF(at.x() - 20, at.y() - 13, 40, 26), Qt::AlignCenter, QString::number(h));
    }
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(212, 175, 55));
    p.drawEllipse(c, 4, 4);
    return img;
}

// A 24-bit uncompressed bottom-up BMP, the form the dial has always been kept in.
QByteArray Bmp24(const QImage& img)
{
    const int rowBytes = (img.width() * 3 + 3) / 4 * 4;
    const quint32 pixels = static_cast<quint32>(rowBytes * img.height());
    QByteArray out;
    auto u32 = [&out](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        out.append(b, 4);
    };
    auto u16 = [&out](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        out.append(b, 2);
    };
    out.append("BM");
    u32(54 + pixels);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<quint32>(img.width()));
    u32(static_cast<quint32>(img.height()));
    u16(1);
    u16(24);
    u32(0);
    u32(pixels);
    u32(3780);
    u32(3780);
    u32(0);
    u32(0);
    for (int y = img.height() - 1; y >= 0; --y) {
        QByteArray row(rowBytes, '\0');
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            row[3 * x] = static_cast<char>(qBlue(c));
            row[3 * x + 1] = static_cast<char>(qGreen(c));
            row[3 * x + 2] = static_cast<char>(qRed(c));
        }
        out.append(row);
    }
    return out;
}

// 120 ms of an 880 Hz tone with soft edges, 16-bit mono PCM WAV.
QByteArray BeepTone()
{
    const int rate = 22050;
    const int samples = rate * 120 / 1000;
    QByteArray pcm(samples * 2, '\0');
    for (int i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / rate;
        const double edge = std::min(1.0, std::min(i, samples - i) / (rate * 0.01));
        const auto v = static_cast<qint16>(std::lround(9000 * edge * std::sin(2 * M_PI * 880 * t)));
        qToLittleEndian(v, pcm.data() + 2 * i);
    }
    QByteArray wav;
    auto u32 = [&wav](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        wav.append(b, 4);
    };
    auto u16 = [&wav](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        wav.append(b, 2);
    };
    wav.append("RIFF");
    u32(36 + static_cast<quint32>(pcm.size()));
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(1);
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    wav.append("data");
    u32(static_cast<quint32>(pcm.size()));
    wav.append(pcm);
    return wav;
}

// The icon of Icon() as SVG text, drawn from the same geometry on a 64-unit canvas, so the
// menus of any size get sharp edges without an SVG library.
QByteArray IconSvg()
{
    const auto n = [](double v) { return QString::number(v, 'f', 3).toUtf8(); };
    QByteArray svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n"
        "  <circle cx=\"32\" cy=\"32\" r=\"28.5\" fill=\"#d7d173\" stroke=\"#5a5a60\" stroke-width=\"3\"/>\n";
    // The work-day arc: from twelve o'clock 200 degrees clockwise on a circle of radius 21.
    const double end = qDegreesToRadians(90.0 - 200.0);
    svg += "  <path d=\"M 32 11 A 21 21 0 1 1 " + n(32 + 21 * std::cos(end)) + ' ' +
           n(32 - 21 * std::sin(end)) +
           "\" fill=\"none\" stroke=\"#ff8000\" stroke-width=\"6\" stroke-linecap=\"butt\"/>\n";
    svg += "  <g stroke=\"#000000\" stroke-width=\"2\" stroke-linecap=\"square\">\n";
    for (int i = 0; i < 12; ++i) {
        const double a = i * M_PI / 6;
        svg += "    <line x1=\"" + n(32 + 24 * std::sin(a)) + "\" y1=\"" + n(32 - 24 * std::cos(a)) +
               "\" x2=\"" + n(32 + 27 * std::sin(a)) + "\" y2=\"" + n(32 - 27 * std::cos(a)) + "\"/>\n";
    }
    svg += "  </g>\n"
           "  <line x1=\"32\" y1=\"32\" x2=\"32\" y2=\"17\" stroke=\"#000000\" stroke-width=\"4\" "
           "stroke-linecap=\"round\"/>\n"
           "  <line x1=\"32\" y1=\"32\" x2=\"44\" y2=\"38\" stroke=\"#282828\" stroke-width=\"3\" "
           "stroke-linecap=\"round\"/>\n"
           "  <circle cx=\"32\" cy=\"32\" r=\"3\" fill=\"#c8a028\"/>\n"
           "</svg>\n";
    return svg;
}

// Writes the icon into a hicolor theme tree below dir: every size a desktop asks for, and SVG.
bool SaveThemeIcons(const QString& dir)
{
    bool ok = true;
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QString folder = dir + QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        ok = QDir().mkpath(folder) && Icon(size).save(folder + QStringLiteral("/kelvator.png")) && ok;
    }
    const QString scalable = dir + QStringLiteral("icons/hicolor/scalable/apps");
    QFile svg(scalable + QStringLiteral("/kelvator.svg"));
    ok = QDir().mkpath(scalable) && svg.open(QIODevice::WriteOnly) && svg.write(IconSvg()) > 0 && ok;
    return ok;
}

} // namespace

int main(int argc, char* argv[])
{
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kelvator_artwork <assets folder>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]) + u'/';
    bool ok = Icon(64).save(dir + QStringLiteral("kelvator.png"));
    ok = AboutPicture().save(dir + QStringLiteral("about.jpg"), "JPEG", 90) && ok;
    ok = Arrow(true).save(dir + QStringLiteral("arrow_right.png")) && ok;
    ok = Arrow(false).save(dir + QStringLiteral("arrow_left.png")) && ok;
    QFile dial(dir + QStringLiteral("dial.bmp"));
    ok = dial.open(QIODevice::WriteOnly) && dial.write(Bmp24(Dial())) > 0 && ok;
    QFile wav(dir + QStringLiteral("beep.wav"));
    ok = wav.open(QIODevice::WriteOnly) && wav.write(BeepTone()) > 0 && ok;
    ok = SaveThemeIcons(dir) && ok;
    return ok ? 0 : 1;
}
