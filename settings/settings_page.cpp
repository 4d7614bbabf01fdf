#include "settings/settings_page.h"

#include "settings/settings_model.h"
#include "widgets/field_checks.h"
#include "widgets/tshape.h"
#include "widgets/widget_factory.h"
#include "worktime/schedule.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <utility>

namespace kelvator {

namespace {
QLineEdit* SmallEdit(QWidget* parent, const char* name, int left, int top, int maxLength, int width = 22)
{
    auto* e = Place<QLineEdit>(parent, name, left, top, width, 19);
    e->setMaxLength(maxLength);
    return e;
}
} // namespace

SettingsPage::SettingsPage(std::function<void(const QString&)> showError, QWidget* parent)
    : QWidget(parent)
    , showError_(std::move(showError))
    , checks_(new FieldChecks(showError_, this))
{
    setObjectName(QStringLiteral("TabSheet_Beallitasok"));

    Caption(this, QStringLiteral("Kelvator kezdete:"), 8, 10);
    startHourEdit_ = SmallEdit(this, "Edit_MIKOra", 104, 8, 2);
    Caption(this, QStringLiteral(" : "), 127, 10);
    startMinuteEdit_ = SmallEdit(this, "Edit_MIKPerc", 140, 8, 2);
    Caption(this, QStringLiteral("óra"), 106, 28);
    Caption(this, QStringLiteral("perc"), 140, 28);

    Caption(this, QStringLiteral("Kelvator vége:"), 8, 50);
    endHourEdit_ = SmallEdit(this, "Edit_MIVOra", 104, 48, 2);
    Caption(this, QStringLiteral(" : "), 127, 50);
    endMinuteEdit_ = SmallEdit(this, "Edit_MIVPerc", 140, 48, 2);
    Caption(this, QStringLiteral("óra"), 106, 68);
    Caption(this, QStringLiteral("perc"), 140, 68);

    startHourEdit_->setText(QStringLiteral("07"));
    startMinuteEdit_->setText(QStringLiteral("00"));
    endHourEdit_->setText(QStringLiteral("16"));
    endMinuteEdit_->setText(QStringLiteral("00"));

    Caption(this, QStringLiteral("Fizetésnap dátuma:"), 8, 88);
    paydayList_ = Place<QListWidget>(this, "ListBox_FizetesnapDatuma", 8, 103, 118, 96);
    for (int i = 1; i <= 27; ++i)
        paydayList_->addItem(QString::number(i));
    paydayList_->addItem(QStringLiteral("Hónap utolsó napja"));

    weekendPaydayGroup_ = Place<TRadioGroup>(
        this, "RadioGroup_HetvegiFizetes", 132, 88, 172, 70, QStringLiteral("Ha a fizetésnap hétvégére esik"),
        QStringList{QStringLiteral("Fizetés pénteken"), QStringLiteral("Fizetés hétfőn"),
                    QStringLiteral("Fizetés az adott napon")});

    paydayList_->setCurrentRow(1);
    weekendPaydayGroup_->setItemIndex(0);

    Caption(this, QStringLiteral("Havi fizetés:"), 132, 170);
    salaryEdit_ = SmallEdit(this, "Edit_HaviFizetes", 200, 168, 7, 60);
    salaryEdit_->setText(QStringLiteral("0"));
    Caption(this, QStringLiteral("Ft."), 264, 170);

    auto* breaks =
        Place<QGroupBox>(this, "GroupBox_Szunet", 8, 206, 296, 104, QStringLiteral("Szünet (pl. ebédidő)"));
    for (int i = 0; i < 3; ++i) {
        const int top = 18 + i * 24;
        const auto n = static_cast<size_t>(i);
        const QByteArray suffix = QByteArray::number(i + 1);
        breakBoxes_[n] = Place<QCheckBox>(breaks, QByteArray("CheckBox_Szunet" + suffix).constData(), 8, top,
                                          60, 19, QStringLiteral("Mutat"));
        breakHourEdits_[n] = SmallEdit(breaks, QByteArray("Edit_SzunetOra" + suffix).constData(), 72, top, 2);
        Caption(breaks, QStringLiteral(" : "), 95, top + 2);
        breakMinuteEdits_[n] =
            SmallEdit(breaks, QByteArray("Edit_SzunetPerc" + suffix).constData(), 108, top, 2);
        Caption(breaks, QStringLiteral("hossz"), 150, top + 2);
        breakLengthEdits_[n] =
            SmallEdit(breaks, QByteArray("Edit_SzunetHossz" + suffix).constData(), 180, top, 2);
        Caption(breaks, QStringLiteral("perc"), 206, top + 2);
    }
    Caption(breaks, QStringLiteral("óra"), 74, 88);
    const char* breakDefaults[3][3] = {{"09", "30", "30"}, {"13", "30", "30"}, {"11", "00", "60"}};
    for (size_t i = 0; i < 3; ++i) {
        breakBoxes_[i]->setChecked(i < 2);
        breakHourEdits_[i]->setText(QString::fromLatin1(breakDefaults[i][0]));
        breakMinuteEdits_[i]->setText(QString::fromLatin1(breakDefaults[i][1]));
        breakLengthEdits_[i]->setText(QString::fromLatin1(breakDefaults[i][2]));
    }
    Caption(breaks, QStringLiteral("perc"), 108, 88);

    workEndSoundGroup_ = Place<TRadioGroup>(
        this, "RadioGroup_HangjelzesKelvatorVegen", 312, 4, 198, 66, QStringLiteral("Kelvator végén hang"),
        QStringList{QStringLiteral("Nincs hangjelzés"), QStringLiteral("Alaplapi hangszóró"),
                    QStringLiteral("MP3 vagy WAV file")});
    soundFileButton_ = Place<QPushButton>(this, "Button_BeallitasokMIVFile", 312, 74, 198, 23,
                                          QStringLiteral("Hang fájl kiválasztása"));
    soundButton_ = Place<QPushButton>(this, "Button_BeallitasokMIVHangStop", 312, 100, 198, 23,
                                      QStringLiteral("Hang lejátszás"));
    smallClockGroup_ =
        Place<TRadioGroup>(this, "RadioGroup_MutatosOraKelvatorMegjelenites", 312, 130, 198, 66,
                           QStringLiteral("Kelvator és szünet megjelenítés"),
                           QStringList{QStringLiteral("Munkanapokon egész nap"),
                                       QStringLiteral("Csak a kelvator alatt"), QStringLiteral("Soha")});
    twelveHourBox_ = Place<QCheckBox>(this, "CheckBox_12OrasKijelzes", 314, 202, 196, 19,
                                      QStringLiteral("12 órás kijelzés"));
    twelveHourBox_->setChecked(true);
    workEndSoundGroup_->setItemIndex(0);
    smallClockGroup_->setItemIndex(1);
    okButton_ = Place<QPushButton>(this, "Button_BeallitasokOK", 435, 282, 75, 25, QStringLiteral("OK"));

    hourlyNoticeBox_ =
        Place<QCheckBox>(this, "CheckBox_BeallitasOrankentiHangjelzes", 8, 318, 502, 19,
                         QStringLiteral("Minden egész órakor hangjezés és figyelmeztető felirat"));
    iconBesideClockBox_ = Place<QCheckBox>(
        this, "CheckBox_IconAzOraMelle", 8, 340, 502, 19,
        QStringLiteral("Bezárás (X vagy Alt+F4) helyett ikonként elhelyezés a tálcán, az óra mellett"));
    startAsIconBox_ =
        Place<QCheckBox>(this, "CheckBox_IconkentIndul", 8, 362, 502, 19,
                         QStringLiteral("Indításakor csak tálcán, az óra mellett jelenik meg ikonként"));

    // The page's tab order, OK first. A radio group is not in the chain itself: its items
    // are, and only the chosen one is a tab stop.
    QList<QWidget*> order;
    for (QWidget* w : std::initializer_list<QWidget*>{
             okButton_, startHourEdit_, startMinuteEdit_, endHourEdit_, endMinuteEdit_, paydayList_,
             weekendPaydayGroup_, salaryEdit_, iconBesideClockBox_, startAsIconBox_, smallClockGroup_,
             twelveHourBox_, workEndSoundGroup_, soundFileButton_, soundButton_, hourlyNoticeBox_}) {
        if (auto* group = qobject_cast<TRadioGroup*>(w)) {
            for (int i = 0; i < group->count(); ++i)
                order << group->button(i);
        } else {
            order << w;
        }
    }
    for (size_t i = 0; i < 3; ++i)
        order << breakBoxes_[i] << breakHourEdits_[i] << breakMinuteEdits_[i] << breakLengthEdits_[i];
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);

    for (QLineEdit* e :
         {startHourEdit_, endHourEdit_, breakHourEdits_[0], breakHourEdits_[1], breakHourEdits_[2]})
        checks_->Add(e, FieldKind::Hour);
    for (QLineEdit* e :
         {startMinuteEdit_, endMinuteEdit_, breakMinuteEdits_[0], breakMinuteEdits_[1], breakMinuteEdits_[2]})
        checks_->Add(e, FieldKind::Minute);
    checks_->Add(salaryEdit_, FieldKind::Salary);
    for (QLineEdit* e : breakLengthEdits_)
        checks_->Add(e, FieldKind::BreakLength);

    connect(okButton_, &QPushButton::clicked, this, &SettingsPage::Accept);
    connect(soundFileButton_, &QPushButton::clicked, this, &SettingsPage::soundFileRequested);
    connect(soundButton_, &QPushButton::clicked, this, &SettingsPage::soundButtonClicked);
    connect(workEndSoundGroup_, &TRadioGroup::clicked, this, &SettingsPage::workEndSoundPicked);

    // Every value the rest of the program follows, however it changes. A field's checked text
    // changes only with its text: what it falls back to is remembered from a text that passed.
    for (QLineEdit* e : findChildren<QLineEdit*>())
        connect(e, &QLineEdit::textChanged, this, &SettingsPage::changed);
    for (QCheckBox* b : findChildren<QCheckBox*>())
        connect(b, &QCheckBox::toggled, this, &SettingsPage::changed);
    for (TRadioGroup* group : {weekendPaydayGroup_, smallClockGroup_, workEndSoundGroup_}) {
        for (int i = 0; i < group->count(); ++i)
            connect(group->button(i), &QRadioButton::toggled, this, &SettingsPage::changed);
    }
    connect(paydayList_, &QListWidget::currentRowChanged, this, &SettingsPage::changed);

    // Beside the page's other buttons, and last in its tab order.
    workCalendarButton_ =
        Place<QPushButton>(this, "Button_Munkarend", 312, 240, 198, 23, QStringLiteral("Munkarend…"));
    setTabOrder(order.back(), workCalendarButton_);
    connect(workCalendarButton_, &QPushButton::clicked, this, &SettingsPage::workCalendarRequested);
}

void SettingsPage::ShowSettings(const Settings& s)
{
    paydayList_->setCurrentRow(s.paydayRow);
    startHourEdit_->setText(s.workStartHour);
    startMinuteEdit_->setText(s.workStartMinute);
    endHourEdit_->setText(s.workEndHour);
    endMinuteEdit_->setText(s.workEndMinute);
    weekendPaydayGroup_->setItemIndex(s.weekendPayday);
    smallClockGroup_->setItemIndex(s.smallClockShown);
    workEndSoundGroup_->setItemIndex(s.workEndSound);
    twelveHourBox_->setChecked(s.twelveHourClock);
    salaryEdit_->setText(s.monthlySalary);
    iconBesideClockBox_->setChecked(s.iconBesideClock);
    startAsIconBox_->setChecked(s.startAsIcon);
    workEndSoundFile_ = s.workEndSoundFile;
    hourlyNoticeBox_->setChecked(s.hourlyNotice);
    for (size_t i = 0; i < 3; ++i) {
        breakBoxes_[i]->setChecked(s.breaks[i].on);
        breakHourEdits_[i]->setText(s.breaks[i].hour);
        breakMinuteEdits_[i]->setText(s.breaks[i].minute);
        breakLengthEdits_[i]->setText(s.breaks[i].length);
    }
    Q_EMIT changed(); // the sound file has no control of its own
}

void SettingsPage::CollectSettings(Settings& s) const
{
    s.paydayRow = paydayList_->currentRow();
    s.workStartHour = checks_->CheckedText(startHourEdit_);
    s.workStartMinute = checks_->CheckedText(startMinuteEdit_);
    s.workEndHour = checks_->CheckedText(endHourEdit_);
    s.workEndMinute = checks_->CheckedText(endMinuteEdit_);
    s.weekendPayday = weekendPaydayGroup_->itemIndex();
    s.smallClockShown = smallClockGroup_->itemIndex();
    s.workEndSound = workEndSoundGroup_->itemIndex();
    s.twelveHourClock = twelveHourBox_->isChecked();
    s.monthlySalary = checks_->CheckedText(salaryEdit_);
    s.iconBesideClock = iconBesideClockBox_->isChecked();
    s.startAsIcon = startAsIconBox_->isChecked();
    s.workEndSoundFile = workEndSoundFile_;
    s.hourlyNotice = hourlyNoticeBox_->isChecked();
    for (size_t i = 0; i < 3; ++i) {
        BreakSettings& b = s.breaks[i];
        b.on = breakBoxes_[i]->isChecked();
        b.hour = checks_->CheckedText(breakHourEdits_[i]);
        b.minute = checks_->CheckedText(breakMinuteEdits_[i]);
        b.length = checks_->CheckedText(breakLengthEdits_[i]);
    }
}

void SettingsPage::FixLoadedFields()
{
    const struct {
        QLineEdit* edit;
        const char* fallback;
    } fields[] = {{startHourEdit_, "07"},       {startMinuteEdit_, "00"},     {endHourEdit_, "16"},
                  {endMinuteEdit_, "00"},       {salaryEdit_, "0"},           {breakHourEdits_[0], "09"},
                  {breakMinuteEdits_[0], "30"}, {breakLengthEdits_[0], "30"}, {breakHourEdits_[1], "13"},
                  {breakMinuteEdits_[1], "30"}, {breakLengthEdits_[1], "30"}, {breakHourEdits_[2], "11"},
                  {breakMinuteEdits_[2], "00"}, {breakLengthEdits_[2], "60"}};
    for (const auto& field : fields) {
        if (!checks_->Passes(field.edit))
            field.edit->setText(QString::fromLatin1(field.fallback));
    }
    const int start =
        ParseWholeNumber(startHourEdit_->text()) * 3600 + ParseWholeNumber(startMinuteEdit_->text()) * 60;
    const int end =
        ParseWholeNumber(endHourEdit_->text()) * 3600 + ParseWholeNumber(endMinuteEdit_->text()) * 60;
    if (end <= start) {
        startHourEdit_->setText(QStringLiteral("07"));
        startMinuteEdit_->setText(QStringLiteral("00"));
        endHourEdit_->setText(QStringLiteral("16"));
        endMinuteEdit_->setText(QStringLiteral("00"));
    }
    checks_->RememberAll();
}

void SettingsPage::SetWorkEndSoundFile(const QString& path)
{
    workEndSoundFile_ = path;
    Q_EMIT changed();
}

void SettingsPage::ShowSoundPlaying(bool playing)
{
    QFont font = soundButton_->font();
    font.setBold(playing);
    const QString caption =
        playing ? QStringLiteral("Hang lejátszás STOP") : QStringLiteral("Hang lejátszás");
    if (soundButton_->text() != caption)
        soundButton_->setText(caption);
    if (soundButton_->font() != font)
        soundButton_->setFont(font);
}

void SettingsPage::FocusDefaultButton()
{
    okButton_->setFocus();
}

void SettingsPage::FocusWorkCalendarButton()
{
    workCalendarButton_->setFocus();
}

void SettingsPage::Say(const QString& text) const
{
    if (showError_)
        showError_(text);
}

void SettingsPage::Accept()
{
    int start = 0;
    int end = 0;
    try {
        start = ParseWholeNumber(startHourEdit_->text()) * 3600;
        start += ParseWholeNumber(startMinuteEdit_->text()) * 60;
        end = ParseWholeNumber(endHourEdit_->text()) * 3600;
        end += ParseWholeNumber(endMinuteEdit_->text()) * 60;
    } catch (const FieldError& e) {
        Say(QString::fromUtf8(e.what()));
        return;
    }
    if (start >= end) {
        Say(QStringLiteral("A kelvator vége legyen nagyobb,\r\nmint a kelvator kezdete."));
        return;
    }
    if (weekendPaydayGroup_->itemIndex() < 0) {
        Say(QStringLiteral("Be kell jelölni, mi történik,\r\nha a fizetésnap hétvégére esik."));
        weekendPaydayGroup_->setFocus();
        return;
    }
    // What passed the page's checks is what a later save falls back to.
    checks_->RememberAll();
    Q_EMIT okClicked();
}

} // namespace kelvator
