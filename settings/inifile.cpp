#include "settings/inifile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

#include <array>

namespace kelvator {

namespace {

constexpr std::array<char16_t, 128> kHighHalf{
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0xFFFD, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

QString Unquote(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

// "[Name]" gives Name; anything else an empty string.
QString SectionName(const QString& line)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || t.front() != u'[')
        return {};
    const qsizetype close = t.indexOf(u']');
    return close > 0 ? t.mid(1, close - 1).trimmed() : QString();
}

bool IsComment(const QString& trimmed)
{
    return trimmed.startsWith(u';') || trimmed.startsWith(u'#');
}

} // namespace

QString DecodeWindows1250(const QByteArray& bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        out.append(b < 0x80 ? QChar(static_cast<char16_t>(b)) : QChar(kHighHalf[b - 0x80]));
    }
    return out;
}

std::optional<QByteArray> EncodeWindows1250(const QString& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        int found = -1;
        for (int i = 0; i < 128 && found < 0; ++i) {
            if (kHighHalf[static_cast<size_t>(i)] == u && u != 0xFFFD)
                found = i;
        }
        if (found < 0)
            return std::nullopt;
        out.append(static_cast<char>(0x80 + found));
    }
    return out;
}

IniFile IniFile::FromBytes(const QByteArray& bytes)
{
    IniFile ini;
    const QByteArray& data = bytes;
    QString text;
    if (data.startsWith("\xEF\xBB\xBF")) {
        text = QString::fromUtf8(data.mid(3));
    } else {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        text = utf8.decode(data);
        if (utf8.hasError())
            text = DecodeWindows1250(data);
    }
    ini.newline_ = text.contains(QStringLiteral("\r\n")) || !text.contains(u'\n') ? QStringLiteral("\r\n")
                                                                                  : QStringLiteral("\n");
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ini.lines_ = text.split(u'\n');
    if (!ini.lines_.isEmpty() && ini.lines_.back().isEmpty())
        ini.lines_.removeLast(); // the file's final line break
    return ini;
}

IniFile IniFile::Load(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return IniFile();
    return FromBytes(file.readAll());
}

qsizetype IniFile::FindSection(const QString& section) const
{
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QString name = SectionName(lines_[i]);
        if (!name.isEmpty() && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype IniFile::SectionEnd(qsizetype header) const
{
    qsizetype end = header + 1;
    qsizetype lastContent = header + 1;
    for (; end < lines_.size(); ++end) {
        if (!SectionName(lines_[end]).isEmpty())
            break;
        if (!lines_[end].trimmed().isEmpty())
            lastContent = end + 1;
    }
    return lastContent;
}

qsizetype IniFile::FindKey(qsizetype header, const QString& key) const
{
    for (qsizetype i = header + 1; i < lines_.size(); ++i) {
        const QString& line = lines_[i];
        if (!SectionName(line).isEmpty())
            break;
        const qsizetype eq = line.indexOf(u'=');
        if (eq <= 0 || IsComment(line.trimmed()))
            continue;
        if (QStringView(line).left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<QString> IniFile::Value(const QString& section, const QString& key) const
{
    const qsizetype header = FindSection(section);
    if (header < 0)
        return std::nullopt;
    const qsizetype line = FindKey(header, key);
    if (line < 0)
        return std::nullopt;
    const QString& text = lines_[line];
    return Unquote(text.mid(text.indexOf(u'=') + 1).left(kMaxValueLength));
}

void IniFile::SetValue(const QString& section, const QString& key, const QString& value)
{
    // A line break inside a value would split it into two lines.
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    const QString line = key + u'=' + clean;
    qsizetype header = FindSection(section);
    if (header < 0) {
        lines_.append(u'[' + section + u']');
        lines_.append(line);
        return;
    }
    const qsizetype existing = FindKey(header, key);
    if (existing >= 0) {
        lines_[existing] = line;
        return;
    }
    lines_.insert(SectionEnd(header), line);
}

QByteArray IniFile::ToBytes() const
{
    QString text = lines_.join(newline_);
    if (!lines_.isEmpty())
        text += newline_;
    if (std::optional<QByteArray> cp1250 = EncodeWindows1250(text))
        return *cp1250;
    return text.toUtf8();
}

bool IniFile::Save(const QString& path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = ToBytes();
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

} // namespace kelvator
