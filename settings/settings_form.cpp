// The settings file (every key the program keeps) and the settings page's checks.
#include "app/form_main.h"

#include "calendar/calendar_texts.h"
#include "settings/inifile.h"
#include "widgets/colours.h"
#include "widgets/mbargraph.h"
#include "widgets/tmonthcalendar.h"
#include "widgets/tshape.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabWidget>

#include <functional>
#include <vector>

using namespace kelvator;

namespace {

// One key of the settings file: how it is written from the window and read back into it.
struct SettingKey {
    std::function<void(IniFile&)> save;
    std::function<void(const IniFile&)> load;
};

const QString kEvesNaptar = QStringLiteral("EvesNaptar");
const QString kBeallitasok = QStringLiteral("Beallitasok");
const QString kMain = QStringLiteral("Main");
const QString kEsemenyek = QStringLiteral("Esemenyek");
const QString kDatumok = QStringLiteral("Datumok");
const QString kStopper = QStringLiteral("Stopper");

// What kind of check a settings field gets; kept in the window's checkedFields, by field.
enum class FieldKind { None, Hour, Minute, Salary, BreakLength };
FieldKind KindOf(const TForm_Main* form, const QLineEdit* edit)
{
    const auto found = form->checkedFields.find(edit);
    return found == form->checkedFields.end() ? FieldKind::None : static_cast<FieldKind>(found->second.kind);
}

void RememberValid(TForm_Main* form, const QLineEdit* edit)
{
    TForm_Main::CheckedField& field = form->checkedFields[edit];
    field.lastValid = edit->text();
    field.hasLastValid = true;
}

bool TextPasses(FieldKind kind, const QString& text)
{
    int value = 0;
    if (!TryParseWholeNumber(text, value))
        return kind == FieldKind::None;
    switch (kind) {
    case FieldKind::Hour:
        return value >= 0 && value <= 23;
    case FieldKind::Minute:
        return value >= 0 && value <= 59;
    case FieldKind::BreakLength:
        return value >= 0 && value <= 99;
    case FieldKind::Salary:
    case FieldKind::None:
        return true;
    }
    return true;
}

SettingKey BoolKey(const QString& section, const QString& key, QAbstractButton* box, bool defaultValue)
{
    return {
        [=](IniFile& ini) { ini.SetValue(section, key, BoolText(box->isChecked())); },
        [=](const IniFile& ini) { box->setChecked(ReadBoolValue(ini.Value(section, key), defaultValue)); }};
}

SettingKey TextKey(const QString& section, const QString& key, QLineEdit* edit, const QString& defaultValue,
                   const TForm_Main* form)
{
    return {[=](IniFile& ini) { ini.SetValue(section, key, form->CheckedFieldText(edit)); },
            [=](const IniFile& ini) {
                // A value longer than its field is invalid: cutting it would make another number.
                const QString text = ini.Value(section, key).value_or(defaultValue);
                edit->setText(text.size() > edit->maxLength() ? defaultValue : text);
            }};
}

SettingKey RadioKey(const QString& section, const QString& key, TRadioGroup* group, int defaultValue)
{
    return {[=](IniFile& ini) { ini.SetValue(section, key, QString::number(group->itemIndex())); },
            [=](const IniFile& ini) {
                const int v = ReadIntValue(ini.Value(section, key), defaultValue);
                group->setItemIndex(v < -1 ? -1 : (v >= group->count() ? group->count() - 1 : v));
            }};
}

SettingKey TabKey(const QString& section, const QString& key, QTabWidget* tabs, int defaultValue)
{
    return {[=](IniFile& ini) { ini.SetValue(section, key, QString::number(tabs->currentIndex())); },
            [=](const IniFile& ini) {
                // Qt always shows some tab: an index outside the tabs keeps the current one.
                const int v = ReadIntValue(ini.Value(section, key), defaultValue);
                if (v >= 0 && v < tabs->count()) {
                    const QSignalBlocker quiet(tabs);
                    tabs->setCurrentIndex(v);
                }
            }};
}

SettingKey ComboKey(const QString& section, const QString& key, QComboBox* combo, int defaultValue)
{
    return {[=](IniFile& ini) { ini.SetValue(section, key, QString::number(combo->currentIndex())); },
            [=](const IniFile& ini) {
                const int v = ReadIntValue(ini.Value(section, key), defaultValue);
                combo->setCurrentIndex(v >= 0 && v < combo->count() ? v : -1);
            }};
}

SettingKey CalendarKey(const QString& section, const QString& key, QCalendarWidget* calendar,
                       const std::function<TDateTime()>& now)
{
    return {
        [=](IniFile& ini) { ini.SetValue(section, key, DateTimeText(ToDateTime(calendar->selectedDate()))); },
        [=](const IniFile& ini) {
            calendar->setSelectedDate(DateOf(ReadDateTimeValue(ini.Value(section, key), now())));
        }};
}

SettingKey MomentKey(const QString& section, const QString& key, TDateTime* moment,
                     const std::function<TDateTime()>& defaultValue)
{
    return {
        [=](IniFile& ini) { ini.SetValue(section, key, DateTimeText(*moment)); },
        [=](const IniFile& ini) { *moment = ReadDateTimeValue(ini.Value(section, key), defaultValue()); }};
}

SettingKey IntKey(const QString& section, const QString& key, int* value, int defaultValue)
{
    return {[=](IniFile& ini) { ini.SetValue(section, key, QString::number(*value)); },
            [=](const IniFile& ini) { *value = ReadIntValue(ini.Value(section, key), defaultValue); }};
}

} // namespace

// ---- The file -----------------------------------------------------------------------------

namespace {
std::vector<SettingKey> KeyTable(TForm_Main* f)
{
    const std::function<TDateTime()> now = [f] { return ToDateTime(f->platform().now()); };
    std::vector<SettingKey> keys;

    keys.push_back({[f](IniFile& ini) {
                        ini.SetValue(kEvesNaptar, QStringLiteral("Shape_EvesNaptarAktualisSzin"),
                                     QString::number(
                                         static_cast<qint32>(f->Shape_EvesNaptarAktualisSzin->brushColor())));
                    },
                    [f](const IniFile& ini) {
                        f->Shape_EvesNaptarAktualisSzin->setBrushColor(static_cast<quint32>(ReadIntValue(
                            ini.Value(kEvesNaptar, QStringLiteral("Shape_EvesNaptarAktualisSzin")),
                            static_cast<int>(kOrange))));
                    }});
    for (int m = 1; m <= 12; ++m) {
        const QString key = QStringLiteral("sNapokSzinei") + TwoDigits(m);
        auto& month = f->dayColours[static_cast<size_t>(m - 1)];
        keys.push_back(
            {[key, &month](IniFile& ini) { ini.SetValue(kEvesNaptar, key, MonthColoursText(month)); },
             [key, &month](const IniFile& ini) {
                 month = ParseMonthColours(ini.Value(kEvesNaptar, key).value_or(QString(31, u'-')));
             }});
    }

    keys.push_back({[f](IniFile& ini) {
                        ini.SetValue(kBeallitasok, QStringLiteral("ListBox_FizetesnapDatuma"),
                                     QString::number(f->ListBox_FizetesnapDatuma->currentRow()));
                    },
                    [f](const IniFile& ini) {
                        const int v = ReadIntValue(
                            ini.Value(kBeallitasok, QStringLiteral("ListBox_FizetesnapDatuma")), 1);
                        // A row that does not exist would leave the payday undefined: take the default.
                        f->ListBox_FizetesnapDatuma->setCurrentRow(
                            v >= 0 && v < f->ListBox_FizetesnapDatuma->count() ? v : 1);
                    }});
    keys.push_back(
        TextKey(kBeallitasok, QStringLiteral("Edit_MIKOra"), f->Edit_MIKOra, QStringLiteral("07"), f));
    keys.push_back(
        TextKey(kBeallitasok, QStringLiteral("Edit_MIKPerc"), f->Edit_MIKPerc, QStringLiteral("00"), f));
    keys.push_back(
        TextKey(kBeallitasok, QStringLiteral("Edit_MIVOra"), f->Edit_MIVOra, QStringLiteral("16"), f));
    keys.push_back(
        TextKey(kBeallitasok, QStringLiteral("Edit_MIVPerc"), f->Edit_MIVPerc, QStringLiteral("00"), f));
    keys.push_back(
        RadioKey(kBeallitasok, QStringLiteral("RadioGroup_HetvegiFizetes"), f->RadioGroup_HetvegiFizetes, 0));
    keys.push_back(RadioKey(kBeallitasok, QStringLiteral("RadioGroup_MutatosOraKelvatorMegjelenites"),
                            f->RadioGroup_MutatosOraKelvatorMegjelenites, 1));
    keys.push_back(RadioKey(kBeallitasok, QStringLiteral("RadioGroup_HangjelzesKelvatorVegen"),
                            f->RadioGroup_HangjelzesKelvatorVegen, 0));
    keys.push_back(
        BoolKey(kBeallitasok, QStringLiteral("CheckBox_12OrasKijelzes"), f->CheckBox_12OrasKijelzes, true));
    keys.push_back(TextKey(kBeallitasok, QStringLiteral("Edit_HaviFizetes"), f->Edit_HaviFizetes,
                           QStringLiteral("0"), f));
    keys.push_back(
        BoolKey(kBeallitasok, QStringLiteral("CheckBox_IconAzOraMelle"), f->CheckBox_IconAzOraMelle, false));
    keys.push_back(
        BoolKey(kBeallitasok, QStringLiteral("CheckBox_IconkentIndul"), f->CheckBox_IconkentIndul, false));
    keys.push_back(
        {[f](IniFile& ini) {
             ini.SetValue(kBeallitasok, QStringLiteral("sFileUtvonalKelvatorVegeHang"),
                          f->sFileUtvonalKelvatorVegeHang);
         },
         [f](const IniFile& ini) {
             f->sFileUtvonalKelvatorVegeHang =
                 ini.Value(kBeallitasok, QStringLiteral("sFileUtvonalKelvatorVegeHang")).value_or(QString());
         }});

    keys.push_back(
        BoolKey(kMain, QStringLiteral("SpeedButton_FizetesKijelzes"), f->SpeedButton_FizetesKijelzes, false));
    keys.push_back(TabKey(kMain, QStringLiteral("PageControl_Main"), f->PageControl_Main, 0));
    keys.push_back(TabKey(kMain, QStringLiteral("PageControl_NagyOraTipus"), f->PageControl_NagyOraTipus, 1));

    // All six events default to one moment: the program's first start.
    auto eventDefault = std::make_shared<TDateTime>(0);
    for (size_t i = 0; i < 6; ++i) {
        const QString n = QString::number(i + 1);
        keys.push_back(BoolKey(kEsemenyek, QStringLiteral("CheckBox_AzOraEsPercIsSzamit") + n,
                               f->CheckBox_AzOraEsPercIsSzamit[i], true));
    }
    for (size_t i = 0; i < 6; ++i) {
        const QString n = QString::number(i + 1);
        keys.push_back(
            MomentKey(kEsemenyek, QStringLiteral("dtEsemeny") + n, &f->dtEsemeny[i], [eventDefault, now, i] {
                if (i == 0)
                    *eventDefault = now();
                return *eventDefault;
            }));
    }
    for (size_t i = 0; i < 6; ++i) {
        const QString key = QStringLiteral("Label_EsemenyMegnevezes") + QString::number(i + 1);
        QLabel* label = f->Label_EsemenyMegnevezes[i];
        keys.push_back(
            {[key, label](IniFile& ini) { ini.SetValue(kEsemenyek, key, label->text()); },
             [key, label](const IniFile& ini) {
                 label->setText(
                     ini.Value(kEsemenyek, key).value_or(QStringLiteral("A program első elindítása")));
             }});
    }
    for (size_t i = 0; i < 6; ++i)
        keys.push_back(BoolKey(kEsemenyek, QStringLiteral("CheckBox_EsemenyLathato") + QString::number(i + 1),
                               f->CheckBox_EsemenyLathato[i], true));
    for (size_t i = 0; i < 6; ++i)
        keys.push_back(BoolKey(kEsemenyek,
                               QStringLiteral("CheckBox_EsemenyNapbanKiirva") + QString::number(i + 1),
                               f->CheckBox_EsemenyNapbanKiirvaN[i], false));

    keys.push_back(
        CalendarKey(kDatumok, QStringLiteral("MonthCalendar_Datumok1"), f->MonthCalendar_Datumok1, now));
    keys.push_back(
        CalendarKey(kDatumok, QStringLiteral("MonthCalendar_Datumok2"), f->MonthCalendar_Datumok2, now));
    keys.push_back(
        ComboKey(kDatumok, QStringLiteral("ComboBox_DatumokLepeskoz1"), f->ComboBox_DatumokLepeskoz1, 0));
    keys.push_back(
        ComboKey(kDatumok, QStringLiteral("ComboBox_DatumokLepeskoz2"), f->ComboBox_DatumokLepeskoz2, 0));

    keys.push_back(
        {[f](IniFile& ini) {
             ini.SetValue(kStopper, QStringLiteral("Edit_Stopper"), f->Edit_Stopper->text());
         },
         [f](const IniFile& ini) {
             f->Edit_Stopper->setText(
                 ini.Value(kStopper, QStringLiteral("Edit_Stopper")).value_or(QStringLiteral("Stopper óra")));
         }});
    keys.push_back(MomentKey(kStopper, QStringLiteral("dtStopperStart"), &f->dtStopperStart, now));
    keys.push_back(MomentKey(kStopper, QStringLiteral("dtStopperStop"), &f->dtStopperStop, now));
    keys.push_back(IntKey(kStopper, QStringLiteral("iStopperAllapot"), &f->iStopperAllapot, 0));
    keys.push_back(IntKey(kStopper, QStringLiteral("iStopperReszido"), &f->iStopperReszido, 0));

    // The lap count, the hourly chime, then the lap lines: the order the file has always had.
    QListWidget* laps = f->ListBox_Stopper;
    auto lapCount = std::make_shared<int>(0);
    keys.push_back({[laps](IniFile& ini) {
                        ini.SetValue(kStopper, QStringLiteral("ListBox_StopperItemsCount"),
                                     QString::number(laps->count()));
                    },
                    [lapCount](const IniFile& ini) {
                        *lapCount =
                            ReadIntValue(ini.Value(kStopper, QStringLiteral("ListBox_StopperItemsCount")), 0);
                    }});
    keys.push_back(BoolKey(kBeallitasok, QStringLiteral("CheckBox_BeallitasOrankentiHangjelzes"),
                           f->CheckBox_BeallitasOrankentiHangjelzes, false));
    keys.push_back(
        {[laps](IniFile& ini) {
             for (int i = 0; i < laps->count(); ++i)
                 ini.SetValue(kStopper, QStringLiteral("ListBox_StopperItems") + QString::number(i),
                              laps->item(i)->text());
         },
         [laps, lapCount](const IniFile& ini) {
             // Every lap line is a line of the section, so a count beyond them reads
             // the lines that are there and no more.
             const qsizetype limit = qMin<qsizetype>(*lapCount, ini.SectionSize(kStopper));
             QStringList lines;
             qsizetype present = 0;
             for (qsizetype i = 0; i < limit; ++i) {
                 const std::optional<QString> line =
                     ini.Value(kStopper, QStringLiteral("ListBox_StopperItems") + QString::number(i));
                 lines.append(line.value_or(QString()));
                 if (line)
                     present = i + 1;
             }
             lines.resize(present);
             laps->clear();
             laps->addItems(lines);
         }});

    const std::array<std::array<const char*, 3>, 3> breakDefaults{
        {{"09", "30", "30"}, {"13", "30", "30"}, {"11", "00", "60"}}};
    for (size_t i = 0; i < 3; ++i) {
        const QString n = QString::number(i + 1);
        keys.push_back(
            BoolKey(kBeallitasok, QStringLiteral("CheckBox_Szunet") + n, f->CheckBox_Szunet[i], i < 2));
        keys.push_back(TextKey(kBeallitasok, QStringLiteral("Edit_SzunetOra") + n, f->Edit_SzunetOra[i],
                               QString::fromLatin1(breakDefaults[i][0]), f));
        keys.push_back(TextKey(kBeallitasok, QStringLiteral("Edit_SzunetPerc") + n, f->Edit_SzunetPerc[i],
                               QString::fromLatin1(breakDefaults[i][1]), f));
        keys.push_back(TextKey(kBeallitasok, QStringLiteral("Edit_SzunetHossz") + n, f->Edit_SzunetHossz[i],
                               QString::fromLatin1(breakDefaults[i][2]), f));
    }
    return keys;
}
} // namespace

namespace {
QString RefusalReason(FileStatus status)
{
    switch (status) {
    case FileStatus::NotRegular:
        return QStringLiteral("nem közönséges fájl");
    case FileStatus::TooLarge:
        return QStringLiteral("túl nagy");
    case FileStatus::Unreadable:
    case FileStatus::Missing:
    case FileStatus::Ok:
        break;
    }
    return QStringLiteral("nem olvasható");
}

// A file holding none of these sections has nothing of the program's left in it.
bool HoldsOwnSettings(const IniFile& ini)
{
    for (const QString& section : {kEvesNaptar, kBeallitasok, kMain, kEsemenyek, kDatumok, kStopper,
                                   QStringLiteral("Idobelyeg"), QStringLiteral("Munkarend")}) {
        if (ini.HasSection(section))
            return true;
    }
    return false;
}
} // namespace

void TForm_Main::LoadSettings()
{
    const QString& path = platform_.settingsPath;
    const FileContents file = ReadSettingsFile(path);
    settingsFileRefusedFlag = file.status != FileStatus::Ok && file.status != FileStatus::Missing;
    const IniFile ini = file.status == FileStatus::Ok ? IniFile::FromBytes(file.bytes) : IniFile();
    if (settingsFileRefusedFlag) {
        ShowError(QStringLiteral("A beállítások fájlja %1, ezért a program az alapbeállításokkal indul, "
                                 "és ezt a fájlt nem írja felül:\r\n%2")
                      .arg(RefusalReason(file.status), path));
    } else if (ini.HasContent() && !HoldsOwnSettings(ini)) {
        // Everything starts from its default: keep a copy of the file as it was before a save adds to it,
        // as private as the file itself.
        const QString backup = path + QStringLiteral(".bak");
        QString text =
            QStringLiteral("A beállítások fájlja sérült, ezért a program az alapbeállításokkal indul:\r\n") +
            path;
        if (WriteFileAtomically(backup, file.bytes, path))
            text += QStringLiteral("\r\nAz eredeti fájl másolata: ") + backup;
        ShowError(text);
    }
    for (const SettingKey& key : KeyTable(this))
        key.load(ini);
    LoadWorkPatternSettings(ini);
    FixLoadedSettings();
    startInTrayFlag = CheckBox_IconkentIndul->isChecked();
    settingsLoadedFlag = true;
}

void TForm_Main::FixLoadedSettings()
{
    // Hand-edited values the work-time displays cannot use fall back to their defaults.
    const struct {
        QLineEdit* edit;
        const char* fallback;
    } fields[] = {{Edit_MIKOra, "07"},        {Edit_MIKPerc, "00"},        {Edit_MIVOra, "16"},
                  {Edit_MIVPerc, "00"},       {Edit_HaviFizetes, "0"},     {Edit_SzunetOra[0], "09"},
                  {Edit_SzunetPerc[0], "30"}, {Edit_SzunetHossz[0], "30"}, {Edit_SzunetOra[1], "13"},
                  {Edit_SzunetPerc[1], "30"}, {Edit_SzunetHossz[1], "30"}, {Edit_SzunetOra[2], "11"},
                  {Edit_SzunetPerc[2], "00"}, {Edit_SzunetHossz[2], "60"}};
    for (const auto& field : fields) {
        if (!TextPasses(KindOf(this, field.edit), field.edit->text()))
            field.edit->setText(QString::fromLatin1(field.fallback));
    }
    const int start =
        ParseWholeNumber(Edit_MIKOra->text()) * 3600 + ParseWholeNumber(Edit_MIKPerc->text()) * 60;
    const int end =
        ParseWholeNumber(Edit_MIVOra->text()) * 3600 + ParseWholeNumber(Edit_MIVPerc->text()) * 60;
    if (end <= start) {
        Edit_MIKOra->setText(QStringLiteral("07"));
        Edit_MIKPerc->setText(QStringLiteral("00"));
        Edit_MIVOra->setText(QStringLiteral("16"));
        Edit_MIVPerc->setText(QStringLiteral("00"));
    }
    for (const auto& field : fields)
        RememberValid(this, field.edit);
}

bool TForm_Main::SaveSettings()
{
    const FileContents file = ReadSettingsFile(platform_.settingsPath);
    if (file.status != FileStatus::Ok && file.status != FileStatus::Missing) {
        // A file that could not be read is never written over; the user heard so at the start.
        if (settingsFileRefusedFlag)
            return true;
        ShowError(QStringLiteral("Unable to write to %1").arg(platform_.settingsPath));
        return false;
    }
    IniFile ini = file.status == FileStatus::Ok ? IniFile::FromBytes(file.bytes) : IniFile();
    for (const SettingKey& key : KeyTable(this))
        key.save(ini);
    ini.SetValue(QStringLiteral("Idobelyeg"), QStringLiteral("IniFileUtolsoMentes"),
                 DateTimeText(ToDateTime(platform_.now())));
    SaveWorkPatternSettings(ini);
    if (ini.Save(platform_.settingsPath))
        return true;
    ShowError(QStringLiteral("Unable to write to %1").arg(platform_.settingsPath));
    return false;
}

void TForm_Main::ShowError(const QString& text)
{
    if (platform_.errorBox)
        platform_.errorBox(this, text);
}

// ---- The page's checks --------------------------------------------------------------------

QString TForm_Main::CheckedFieldText(const QLineEdit* edit) const
{
    if (TextPasses(KindOf(this, edit), edit->text()))
        return edit->text();
    const auto found = checkedFields.find(edit);
    if (found == checkedFields.end() || !found->second.hasLastValid)
        return edit->text();
    return found->second.lastValid;
}

void TForm_Main::SetUpFieldChecks()
{
    auto mark = [this](QLineEdit* edit, FieldKind kind) {
        checkedFields[edit].kind = static_cast<int>(kind);
    };
    for (QLineEdit* e : {Edit_MIKOra, Edit_MIVOra, Edit_SzunetOra[0], Edit_SzunetOra[1], Edit_SzunetOra[2]})
        mark(e, FieldKind::Hour);
    for (QLineEdit* e :
         {Edit_MIKPerc, Edit_MIVPerc, Edit_SzunetPerc[0], Edit_SzunetPerc[1], Edit_SzunetPerc[2]})
        mark(e, FieldKind::Minute);
    mark(Edit_HaviFizetes, FieldKind::Salary);
    for (QLineEdit* e : Edit_SzunetHossz)
        mark(e, FieldKind::BreakLength);
}

// A failed check: the message, an empty field and the focus back on it.
bool TForm_Main::RejectField(QLineEdit* edit, const QString& message)
{
    ShowError(message);
    edit->clear();
    edit->setFocus();
    return false;
}

bool TForm_Main::ValidateHourEdit(QLineEdit* edit)
{
    return TextPasses(FieldKind::Hour, edit->text()) ||
           RejectField(edit, QStringLiteral("A beírt óra érték hibás.\r\n0–23 a jó érték."));
}

bool TForm_Main::ValidateMinuteEdit(QLineEdit* edit)
{
    return TextPasses(FieldKind::Minute, edit->text()) ||
           RejectField(edit, QStringLiteral("A beírt perc érték hibás.\r\n0–59 a jó érték."));
}

bool TForm_Main::Edit_HaviFizetesExit()
{
    return TextPasses(FieldKind::Salary, Edit_HaviFizetes->text()) ||
           RejectField(Edit_HaviFizetes, QStringLiteral("A havi fizetés hibás."));
}

bool TForm_Main::CheckFieldOnLeave(QLineEdit* edit)
{
    // The box itself takes the focus away again: one check at a time.
    if (checkingField_)
        return true;
    checkingField_ = true;
    bool ok = true;
    switch (KindOf(this, edit)) {
    case FieldKind::Hour:
        ok = ValidateHourEdit(edit);
        break;
    case FieldKind::Minute:
        ok = ValidateMinuteEdit(edit);
        break;
    case FieldKind::Salary:
        ok = Edit_HaviFizetesExit();
        break;
    case FieldKind::BreakLength:
    case FieldKind::None:
        break;
    }
    if (ok && TextPasses(KindOf(this, edit), edit->text()))
        RememberValid(this, edit);
    checkingField_ = false;
    return ok;
}

void TForm_Main::Button_BeallitasokOKClick()
{
    int start = 0;
    int end = 0;
    try {
        start = ParseWholeNumber(Edit_MIKOra->text()) * 3600;
        start += ParseWholeNumber(Edit_MIKPerc->text()) * 60;
        end = ParseWholeNumber(Edit_MIVOra->text()) * 3600;
        end += ParseWholeNumber(Edit_MIVPerc->text()) * 60;
    } catch (const FieldError& e) {
        ShowError(QString::fromUtf8(e.what()));
        return;
    }
    if (start >= end) {
        ShowError(QStringLiteral("A kelvator vége legyen nagyobb,\r\nmint a kelvator kezdete."));
        return;
    }
    if (RadioGroup_HetvegiFizetes->itemIndex() < 0) {
        ShowError(QStringLiteral("Be kell jelölni, mi történik,\r\nha a fizetésnap hétvégére esik."));
        RadioGroup_HetvegiFizetes->setFocus();
        return;
    }
    // What passed the page's checks is what a later save falls back to.
    for (QLineEdit* edit : TabSheet_Beallitasok->findChildren<QLineEdit*>()) {
        if (checkedFields.count(edit) > 0 && TextPasses(KindOf(this, edit), edit->text()))
            RememberValid(this, edit);
    }
    if (!SaveSettings())
        return;
    ShowOuterPage(TabSheet_Main);
    SetMainMenuEnabled(true);
}

void TForm_Main::MarkTimeField(QLineEdit* edit, bool hour)
{
    checkedFields[edit].kind = static_cast<int>(hour ? FieldKind::Hour : FieldKind::Minute);
}
