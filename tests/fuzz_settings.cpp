// libFuzzer target over the settings file reader and the value forms. Built with
// -DKELVATOR_FUZZ=ON (clang++); run: kelvator_fuzz_settings -max_total_time=60
#include "settings/inifile.h"
#include "settings/value_forms.h"

#include <QString>

#include <cstdint>
#include <cstdlib>

using namespace kelvator;

namespace {
void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// What Value() gives back for a value that was set.
QString AsRead(QString value)
{
    value.replace(u'\r', u' ').replace(u'\n', u' ');
    value = value.left(IniFile::kMaxValueLength).trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString sections[] = {QStringLiteral("Stopper"), QStringLiteral("Main"), QStringLiteral("s")};
    const QString keys[] = {QStringLiteral("k"), QStringLiteral("ListBox_StopperItems0"),
                            QStringLiteral("a b")};

    IniFile ini = IniFile::FromBytes(bytes);
    // Written as read, the file reads the same.
    const QByteArray once = ini.ToBytes();
    const IniFile again = IniFile::FromBytes(once);
    for (const QString& section : sections) {
        Check(ini.SectionSize(section) == again.SectionSize(section));
        for (const QString& key : keys) {
            const std::optional<QString> value = ini.Value(section, key);
            Check(value == again.Value(section, key));
            // The value forms take anything.
            ReadIntValue(value, 7);
            ReadBoolValue(value, true);
            if (value) {
                const std::optional<TDateTime> moment = ParseDateTimeText(*value);
                if (moment) {
                    const std::optional<TDateTime> back = ParseDateTimeText(DateTimeText(*moment));
                    Check(back.has_value() && DateTimeText(*back) == DateTimeText(*moment));
                }
                const MonthColours days = ParseMonthColours(*value);
                Check(ParseMonthColours(MonthColoursText(days)) == days);
            }
        }
    }
    Check(again.ToBytes() == once);

    // A value set from the input reads back the same, and the rest of the file stays as it was.
    const QString value = QString::fromUtf8(bytes.left(64));
    ini.SetValue(sections[0], keys[0], value);
    const IniFile written = IniFile::FromBytes(ini.ToBytes());
    Check(written.Value(sections[0], keys[0]) == AsRead(value));
    for (const QString& section : sections) {
        for (const QString& key : keys) {
            if (section != sections[0] || key != keys[0])
                Check(written.Value(section, key) == again.Value(section, key));
        }
    }
    return 0;
}
