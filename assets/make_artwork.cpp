// Draws the program's icon, the About picture and the beep tone into the assets folder:
//   kelvator_artwork <assets folder>
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
    QFile wav(dir + QStringLiteral("beep.wav"));
    ok = wav.open(QIODevice::WriteOnly) && wav.write(BeepTone()) > 0 && ok;
    return ok ? 0 : 1;
}
