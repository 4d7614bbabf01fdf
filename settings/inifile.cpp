#include "settings/inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Windows-1250 byte of each character up to the highest the code page holds (0 for none).
const std::array<unsigned char, 0x2123>& Windows1250Bytes()
{
    static const std::array<unsigned char, 0x2123> bytes = [] {
        std::array<unsigned char, 0x2123> table{};
        for (size_t i = 0; i < kHighHalf.size(); ++i) {
            if (kHighHalf[i] != 0xFFFD)
                table[kHighHalf[i]] = static_cast<unsigned char>(0x80 + i);
        }
        return table;
    }();
    return bytes;
}

// The text of strictly valid UTF-8 (no overlong forms, no surrogates); multiByte tells whether
// any character took more than one byte, telling whether one of them is a Latin letter or lies
// beyond the two-byte range, which Windows-1250 text hardly ever forms by chance.
std::optional<QString> DecodeUtf8Strictly(const QByteArray& bytes, bool& multiByte, bool& telling)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype n = bytes.size();
    QString out;
    out.reserve(n);
    multiByte = false;
    telling = false;
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            out.append(QChar(static_cast<char16_t>(c)));
            ++i;
            continue;
        }
        int length = 0;
        char32_t code = 0;
        char32_t lowest = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
            code = c & 0x1Fu;
            lowest = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            code = c & 0x0Fu;
            lowest = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            code = c & 0x07u;
            lowest = 0x10000;
        } else {
            return std::nullopt;
        }
        if (i + length > n)
            return std::nullopt;
        for (int k = 1; k < length; ++k) {
            const unsigned char b = p[i + k];
            if ((b & 0xC0u) != 0x80u)
                return std::nullopt;
            code = (code << 6) | (b & 0x3Fu);
        }
        if (code < lowest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        multiByte = true;
        if (code <= 0x24F || code >= 0x800)
            telling = true;
        if (code < 0x10000) {
            out.append(QChar(static_cast<char16_t>(code)));
        } else {
            out.append(QChar(QChar::highSurrogate(code)));
            out.append(QChar(QChar::lowSurrogate(code)));
        }
        i += length;
    }
    return out;
}

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

// The folded key name of a key line, or an empty string for any other line.
QString KeyOf(const QString& line)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0 || IsComment(line.trimmed()))
        return {};
    return QStringView(line).left(eq).trimmed().toString().toCaseFolded();
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
    const auto& table = Windows1250Bytes();
    QByteArray out;
    out.reserve(text.size());
    for (QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        if (u >= table.size() || table[u] == 0)
            return std::nullopt;
        out.append(static_cast<char>(table[u]));
    }
    return out;
}

QString DecodeSettingsLine(const QByteArray& line, bool utf8File)
{
    bool multiByte = false;
    bool telling = false;
    if (std::optional<QString> utf8 = DecodeUtf8Strictly(line, multiByte, telling)) {
        if (!multiByte || utf8File || telling)
            return *utf8;
    }
    return DecodeWindows1250(line);
}

FileContents ReadSettingsFile(const QString& path, qint64 maxSize)
{
    FileContents result;
    // Non-blocking, so that a FIFO put in the file's place cannot hold the program up.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.status = errno == ENOENT || errno == ENOTDIR ? FileStatus::Missing : FileStatus::Unreadable;
        return result;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        result.status = FileStatus::Unreadable;
    } else if (!S_ISREG(info.st_mode)) {
        result.status = FileStatus::NotRegular;
    } else if (info.st_size > maxSize) {
        result.status = FileStatus::TooLarge;
    } else {
        result.status = FileStatus::Ok;
        QByteArray bytes(static_cast<qsizetype>(info.st_size) + 1, Qt::Uninitialized);
        qsizetype got = 0;
        // The file may grow while it is read: one byte beyond the limit is enough to know.
        while (got <= maxSize) {
            if (got == bytes.size())
                bytes.resize(qMin<qsizetype>(bytes.size() * 2, maxSize + 1));
            const ssize_t n = ::read(fd, bytes.data() + got, static_cast<size_t>(bytes.size() - got));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0) {
                result.status = FileStatus::Unreadable;
                break;
            }
            if (n == 0)
                break;
            got += n;
        }
        if (result.status == FileStatus::Ok && got > maxSize)
            result.status = FileStatus::TooLarge;
        if (result.status == FileStatus::Ok) {
            bytes.truncate(got);
            result.bytes = bytes;
        }
    }
    ::close(fd);
    return result;
}

namespace {

// The file a save replaces: a link is followed, so that the link stays and what it points to
// gets the new bytes.
QByteArray SaveTarget(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return QFile::encodeName(path);
    const QString canonical = info.canonicalFilePath();
    return QFile::encodeName(canonical.isEmpty() ? info.symLinkTarget() : canonical);
}

bool WriteAll(int fd, const QByteArray& bytes)
{
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

// The rename itself reaches the disk only with its folder.
void SyncFolderOf(const QByteArray& file)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(QFile::decodeName(file)).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, const QString& permissionsOf)
{
    const QByteArray target = SaveTarget(path);
    struct stat old {};
    const bool exists = ::stat(target.constData(), &old) == 0;
    // A file its owner made read-only is not replaced behind the owner's back.
    if (exists && ::access(target.constData(), W_OK) != 0)
        return false;
    mode_t mode = kPrivateFileMode;
    struct stat source {};
    if (!permissionsOf.isEmpty()) {
        if (::stat(QFile::encodeName(permissionsOf).constData(), &source) == 0)
            mode = source.st_mode & 0777;
    } else if (exists) {
        mode = old.st_mode & 0777;
    }
    // mkostemp creates the file for its owner alone, whatever the umask: nobody else can open it
    // before its bits are set, and its bytes are written only after that.
    QByteArray temp = target + QByteArrayLiteral(".XXXXXX");
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok =
        (mode == kPrivateFileMode || ::fchmod(fd, mode) == 0) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.constData(), target.constData()) == 0;
    if (!ok) {
        ::unlink(temp.constData());
        return false;
    }
    SyncFolderOf(target);
    return true;
}

IniFile IniFile::FromBytes(const QByteArray& bytes)
{
    IniFile ini;
    int crlf = 0;
    int lf = 0;
    int cr = 0;
    auto count = [&](QStringView eol) {
        if (eol.size() == 2)
            ++crlf;
        else if (eol == u"\n")
            ++lf;
        else if (eol == u"\r")
            ++cr;
    };
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        ini.encoding_ = bytes.startsWith("\xFF\xFE") ? Encoding::Utf16LE : Encoding::Utf16BE;
        QStringDecoder decoder(ini.encoding_ == Encoding::Utf16LE ? QStringDecoder::Utf16LE
                                                                  : QStringDecoder::Utf16BE,
                               QStringDecoder::Flag::ConvertInitialBom);
        const QString text = decoder.decode(QByteArrayView(bytes).sliced(2));
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size();) {
            const QChar c = text[i];
            if (c != u'\r' && c != u'\n') {
                ++i;
                continue;
            }
            const qsizetype eolLength = c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
            Line line{text.mid(start, i - start), {}, text.mid(i, eolLength), false};
            count(line.eol);
            ini.AddLine(std::move(line));
            i += eolLength;
            start = i;
        }
        if (start < text.size())
            ini.AddLine(Line{text.mid(start), {}, {}, false});
    } else {
        ini.utf8Bom_ = bytes.startsWith("\xEF\xBB\xBF");
        const QByteArray data = ini.utf8Bom_ ? bytes.mid(3) : bytes;
        qsizetype start = 0;
        for (qsizetype i = 0; i < data.size();) {
            const char c = data[i];
            if (c != '\r' && c != '\n') {
                ++i;
                continue;
            }
            const qsizetype eolLength = c == '\r' && i + 1 < data.size() && data[i + 1] == '\n' ? 2 : 1;
            Line line;
            line.raw = data.mid(start, i - start);
            line.text = DecodeSettingsLine(line.raw, ini.utf8Bom_);
            line.eol = QString::fromLatin1(data.mid(i, eolLength));
            count(line.eol);
            ini.AddLine(std::move(line));
            i += eolLength;
            start = i;
        }
        if (start < data.size()) {
            Line line;
            line.raw = data.mid(start);
            line.text = DecodeSettingsLine(line.raw, ini.utf8Bom_);
            ini.AddLine(std::move(line));
        }
    }
    // New lines follow the file's own line ends.
    if (crlf == 0 && lf > 0)
        ini.newline_ = QStringLiteral("\n");
    else if (crlf == 0 && lf == 0 && cr > 0)
        ini.newline_ = QStringLiteral("\r");
    return ini;
}

IniFile IniFile::Load(const QString& path)
{
    const FileContents file = ReadSettingsFile(path);
    return file.status == FileStatus::Ok ? FromBytes(file.bytes) : IniFile();
}

void IniFile::AddLine(Line line)
{
    const QString name = SectionName(line.text);
    if (!name.isEmpty()) {
        const QString folded = name.toCaseFolded();
        Block block;
        // The first section of a name is the one read and written.
        if (!sections_.contains(folded)) {
            sections_.insert(folded, static_cast<qsizetype>(blocks_.size()));
            block.indexedName = folded;
        }
        block.header = std::move(line);
        blocks_.push_back(std::move(block));
        return;
    }
    if (blocks_.empty())
        blocks_.emplace_back(); // the lines before the first section
    Block& block = blocks_.back();
    if (line.text.trimmed().isEmpty()) {
        block.blankTail.push_back(std::move(line));
        return;
    }
    for (Line& blank : block.blankTail)
        block.lines.push_back(std::move(blank));
    block.blankTail.clear();
    if (!block.indexedName.isEmpty()) {
        const QString key = KeyOf(line.text);
        if (!key.isEmpty()) {
            const QString index = KeyIndex(block.indexedName, key);
            if (!keys_.contains(index))
                keys_.insert(index, static_cast<qsizetype>(block.lines.size()));
        }
    }
    block.lines.push_back(std::move(line));
}

const IniFile::Block* IniFile::FindBlock(const QString& section) const
{
    const auto found = sections_.constFind(section.toCaseFolded());
    return found == sections_.constEnd() ? nullptr : &blocks_[static_cast<size_t>(*found)];
}

std::optional<QString> IniFile::Value(const QString& section, const QString& key, int maxLength) const
{
    const Block* block = FindBlock(section);
    if (!block)
        return std::nullopt;
    const auto found = keys_.constFind(KeyIndex(block->indexedName, key.toCaseFolded()));
    if (found == keys_.constEnd())
        return std::nullopt;
    const QString& text = block->lines[static_cast<size_t>(*found)].text;
    const QString value = text.mid(text.indexOf(u'=') + 1);
    return Unquote(maxLength == kWholeValue ? value : value.left(maxLength));
}

void IniFile::SetValue(const QString& section, const QString& key, const QString& value)
{
    // A line break inside a value would split it into two lines.
    QString clean = value;
    clean.replace(u'\r', u' ').replace(u'\n', u' ');
    Line line{key + u'=' + clean, {}, {}, true};
    const QString foldedSection = section.toCaseFolded();
    const QString index = KeyIndex(foldedSection, key.toCaseFolded());
    const auto found = sections_.constFind(foldedSection);
    if (found == sections_.constEnd()) {
        sections_.insert(foldedSection, static_cast<qsizetype>(blocks_.size()));
        Block block;
        block.header = Line{u'[' + section + u']', {}, {}, true};
        block.indexedName = foldedSection;
        keys_.insert(index, 0);
        block.lines.push_back(std::move(line));
        blocks_.push_back(std::move(block));
        return;
    }
    Block& block = blocks_[static_cast<size_t>(*found)];
    const auto existing = keys_.constFind(index);
    if (existing != keys_.constEnd()) {
        Line& old = block.lines[static_cast<size_t>(*existing)];
        // The same text keeps its bytes, whatever encoding they are in.
        if (old.text != line.text) {
            old.text = std::move(line.text);
            old.raw.clear();
            old.changed = true;
        }
        return;
    }
    keys_.insert(index, static_cast<qsizetype>(block.lines.size()));
    block.lines.push_back(std::move(line));
}

bool IniFile::HasSection(const QString& section) const
{
    return FindBlock(section) != nullptr;
}

qsizetype IniFile::SectionSize(const QString& section) const
{
    const Block* block = FindBlock(section);
    return block ? static_cast<qsizetype>(block->lines.size() + block->blankTail.size()) : 0;
}

bool IniFile::HasContent() const
{
    for (const Block& block : blocks_) {
        if (block.header)
            return true;
        for (const Line& line : block.lines) {
            if (!IsComment(line.text.trimmed()))
                return true;
        }
    }
    return false;
}

QByteArray IniFile::ToBytes() const
{
    auto forEachLine = [this](const auto& visit) {
        for (const Block& block : blocks_) {
            if (block.header)
                visit(*block.header);
            for (const Line& line : block.lines)
                visit(line);
            for (const Line& line : block.blankTail)
                visit(line);
        }
    };
    if (encoding_ != Encoding::Bytes) {
        QString text;
        forEachLine(
            [&](const Line& line) { text += line.text + (line.eol.isEmpty() ? newline_ : line.eol); });
        QStringEncoder encoder(encoding_ == Encoding::Utf16LE ? QStringEncoder::Utf16LE
                                                              : QStringEncoder::Utf16BE,
                               QStringEncoder::Flag::WriteBom);
        return encoder.encode(text);
    }

    // The file must be UTF-8 when a changed line would not read back the same as Windows-1250.
    bool utf8 = utf8Bom_;
    if (!utf8) {
        forEachLine([&](const Line& line) {
            if (utf8 || !line.changed)
                return;
            const std::optional<QByteArray> cp1250 = EncodeWindows1250(line.text);
            utf8 = !cp1250 || DecodeSettingsLine(*cp1250, false) != line.text;
        });
    }
    QByteArray out;
    if (utf8)
        out += "\xEF\xBB\xBF";
    const QByteArray newline = newline_.toLatin1();
    forEachLine([&](const Line& line) {
        // A line kept as it was must still read the same once the file is marked as UTF-8.
        if (!line.changed && (utf8 == utf8Bom_ || DecodeSettingsLine(line.raw, true) == line.text))
            out += line.raw;
        else if (utf8)
            out += line.text.toUtf8();
        else
            out += EncodeWindows1250(line.text).value_or(QByteArray());
        out += line.eol.isEmpty() ? newline : line.eol.toLatin1();
    });
    return out;
}

bool IniFile::Save(const QString& path) const
{
    return WriteFileAtomically(path, ToBytes());
}

} // namespace kelvator
