#include "protocols/building/UBACnet_Eng_Unit.h"

#include "controls/buttons_pages/PicButton.h"
#include "platform/Guard.h"
#include "shell/UComon.h"
#include "shell/ULanguage.h"
#include "shell/UWindowList.h"
#include "shell/UWindowLook.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <array>

namespace building::bacnet {

namespace {

constexpr std::array<const char16_t*, 237> Unit_Names = {
    u"square-meters", u"square-feet", u"milliamperes", u"amperes", u"ohms", u"volts", u"kilovolts", u"megavolts",
    u"volt-amperes", u"kilovolt-amperes", u"megavolt-amperes", u"volt-amperes-reactive",
    u"kilovolt-amperes-reactive", u"megavolt-amperes-reactive", u"degrees-phase", u"power-factor", u"joules",
    u"kilojoules", u"watt-hours", u"kilowatt-hours", u"btus", u"therms", u"ton-hours",
    u"joules-per-kilogram-dry-air", u"btus-per-pound-dry-air", u"cycles-per-hour", u"cycles-per-minute", u"hertz",
    u"grams-of-water-per-kilogram-dry-air", u"percent-relative-humidity", u"millimeters", u"meters", u"inches",
    u"feet", u"watts-per-square-foot", u"watts-per-square-meter", u"lumens", u"luxes", u"foot-candles", u"kilograms",
    u"pounds-mass", u"tons", u"kilograms-per-second", u"kilograms-per-minute", u"kilograms-per-hour",
    u"pounds-mass-per-minute", u"pounds-mass-per-hour", u"watts", u"kilowatts", u"megawatts", u"btus-per-hour",
    u"housepower", u"tons-refrigeration", u"pascals", u"kilopascals", u"bars", u"pounds-force-per-square-inch",
    u"centimeters-of-water", u"inches-of-water", u"millimeters-of-mercury", u"centimeters-of-mercury",
    u"inches-of-mercury", u"degrees-Celsius", u"degrees-Kelvin", u"degrees-Fahrenheit", u"degree-days-Celsius",
    u"degree-days-Fahrenheit", u"years", u"months", u"weeks", u"days", u"hours", u"minutes", u"seconds",
    u"meters-per-second", u"kilometers-per-hour", u"feet-per-second", u"feet-per-meters", u"miles-per-hour",
    u"cubic-feet", u"cubic-meters", u"imperial-gallons", u"liters", u"us-gallons", u"cubic-feet-per-minute",
    u"cubic-meters-per-second", u"imperial-gallons-per-minute", u"liters-per-second", u"liters-per-minute",
    u"us-gallons-per-minute", u"degrees-angular", u"degrees-Celsius-per-hour", u"degrees-Celsius-per-minute",
    u"degrees-Fahrenheit-per-hour", u"degrees-Fahrenheit-per-minute", u"no-units", u"parts-per-million",
    u"parts-per-billion", u"percent", u"percent-per-second", u"per-minute", u"per-second",
    u"psi-per-degree-Fahrenheit", u"radiants", u"revolutions-per-minute", u"currency1", u"currency2", u"currency3",
    u"currency4", u"currency5", u"currency6", u"currency7", u"currency8", u"currency9", u"currency10",
    u"square-inches", u"square-centimeters", u"btus-per-pound", u"centimeters", u"pounds-mass-per-second",
    u"delta-degrees-Fahrenheit", u"delta-degrees-Kelvin", u"kilohms", u"megohms", u"millivolts",
    u"kilojoules-per-kilogram", u"megajoules", u"joules-per-degree-Kelvin", u"btus-per-kilogram-degree-Kelvin",
    u"kilohertz", u"megahertz", u"per-hour", u"milliwatts", u"hectopascals", u"millibars", u"cubic-meters-per-hour",
    u"liters-per-hour", u"kilowatt-hours-per-square-meter", u"kilowatt-hours-per-square-foot",
    u"megajoules-hours-per-square-meter", u"megajoules-hours-per-square-foot",
    u"watts-per-square-meter-degree-kelvin", u"cubic-feet-per-second", u"percent-obscuration-per-foot",
    u"percent-obscuration-per-meter", u"milliohms", u"megawatt-hours", u"kilo-btus", u"mega-btus",
    u"kilojoules-per-kilogram-dry-air", u"megajoules-per-kilogram-dry-air", u"kilojoules-per-degree-Kelvin",
    u"megajoules-per-degree-Kelvin", u"newton", u"grams-per-second", u"grams-per-minute", u"tons-per-hour",
    u"kilo-btus-per-hour", u"hundredths-seconds", u"milliseconds", u"newton-meters", u"millimeters-per-second",
    u"millimeters-per-minute", u"meters-per-minute", u"meters-per-hour", u"cubic-meters-per-minute",
    u"meters-per-second-per-second", u"amperes-per-meter", u"amperes-per-square-meter", u"ampere-square-meters",
    u"farads", u"henrys", u"ohm-meters", u"siemens", u"siemens-per-meter", u"teslas", u"volts-per-degree-Kelvin",
    u"volts-per-meter", u"webers", u"candelas", u"candelas-per-square-meter", u"degrees-Kelvin-per-hour",
    u"degrees-Kelvin-per-minute", u"joule-seconds", u"radians-per-second", u"square-meters-per-Newton",
    u"kilograms-per-cubic-meter", u"newton-seconds", u"newtons-per-meter", u"watts-per-meter-per-degree-Kelvin",
    u"microsiemens", u"cubic-feet-per-hour", u"us-gallons-per-hour", u"kilometers", u"micrometers", u"grams",
    u"milligrams", u"milliliters", u"milliliters-per-second", u"decibels", u"decibels-millivolt", u"decibels-volt",
    u"millisiemens", u"watt-hours-reactive", u"kilowatt-hours-reactive", u"megawatt-hours-reactive",
    u"millimeters-of-water", u"per-mille", u"grams-per-gram", u"kilograms-per-kilogram", u"grams-per-kilogram",
    u"milligrams-per-gram", u"milligrams-per-kilogram", u"grams-per-milliliter", u"grams-per-liter",
    u"milligrams-per-liter", u"micrograms-per-liter", u"grams-per-cubic-meter", u"milligrams-per-cubic-meter",
    u"micrograms-per-cubic-meter", u"nanograms-per-cubic-meter", u"grams-per-cubic-centimeter", u"becquerels",
    u"kilobecquerels", u"megabecquerels", u"gray", u"milligray", u"microgray", u"sieverts", u"millisieverts",
    u"microsieverts", u"microsieverts-per-hour", u"decibels-a", u"nephelometric-turbidity-unit", u"pH",
    u"grams-per-square-meter", u"minutes-per-degree-kelvin",
};

}  // namespace

const std::vector<Unit_Category>& Unit_Categories()
{
    static const std::vector<Unit_Category> categories = {
    {QStringLiteral("Acceleration"), {166}},
    {QStringLiteral("Area"), {0, 116, 1, 115}},
    {QStringLiteral("Currency"), {105, 106, 107, 108, 109, 110, 111, 112, 113, 114}},
    {QStringLiteral("Electrical"), {2, 3, 167, 168, 169, 199, 200, 201, 170, 171, 4, 172, 145, 122, 123, 190, 202, 173, 174, 175, 5, 124, 6, 7, 8, 9, 10, 11, 12, 13, 176, 177, 14, 15, 178}},
    {QStringLiteral("Energy"), {16, 17, 125, 126, 18, 19, 146, 203, 204, 205, 20, 147, 148, 21, 22}},
    {QStringLiteral("Enthalpy"), {23, 149, 150, 24, 117}},
    {QStringLiteral("Entropy"), {127, 151, 152, 128}},
    {QStringLiteral("Force"), {153}},
    {QStringLiteral("Frequency"), {25, 26, 27, 129, 130, 131}},
    {QStringLiteral("Humidity"), {28, 29}},
    {QStringLiteral("Length"), {194, 30, 118, 193, 31, 32, 33}},
    {QStringLiteral("Light"), {179, 180, 34, 35, 36, 37, 38}},
    {QStringLiteral("Mass"), {196, 195, 39, 40, 41}},
    {QStringLiteral("Mass Flow"), {154, 155, 42, 43, 44, 119, 45, 46, 156}},
    {QStringLiteral("Power"), {132, 47, 48, 49, 50, 157, 51, 52}},
    {QStringLiteral("Pressure"), {53, 133, 54, 134, 55, 56, 206, 57, 58, 59, 60, 61}},
    {QStringLiteral("Temperature"), {62, 63, 181, 182, 64, 65, 66, 120, 121}},
    {QStringLiteral("Time"), {67, 68, 69, 70, 71, 72, 73, 158, 159}},
    {QStringLiteral("Torque"), {160}},
    {QStringLiteral("Velocity"), {161, 162, 74, 163, 164, 75, 76, 77, 78}},
    {QStringLiteral("Volume"), {79, 80, 81, 197, 82, 83}},
    {QStringLiteral("Volumetric Flow"), {142, 84, 191, 85, 165, 135, 86, 198, 87, 88, 136, 89, 192}},
    {QStringLiteral("Other"), {90, 91, 92, 93, 94, 183, 186, 137, 138, 139, 140, 95, 187, 188, 96, 97, 98, 143, 144, 99, 100, 101, 102, 103, 184, 104, 185, 189, 141, 207, 208, 209, 210, 211, 212, 213, 214, 215, 216, 217, 218, 219, 220, 221, 222, 223, 224, 225, 226, 227, 228, 229, 230, 231, 232, 233, 234, 235, 236}},
    };
    return categories;
}

QString Unit_Item_Text(int category, int code)
{
    const QString& name = Unit_Categories().at(size_t(category)).Name;
    if (name == QLatin1String("Electrical") && code == 172)
        return QStringLiteral("ohms-meters");
    if (name == QLatin1String("Other") && code == 139)
        return QStringLiteral("megajoules-per-square-meter");
    if (name == QLatin1String("Other") && code == 140)
        return QStringLiteral("megajoules-per-square-foot");
    return TFBACnet_Eng_Unit::Desc_Unit(code);
}

}  // namespace building::bacnet

TFBACnet_Eng_Unit* FBACnet_Eng_Unit() { return shell::Window<TFBACnet_Eng_Unit>(); }

QString TFBACnet_Eng_Unit::Desc_Unit(int Num_Unit)
{
    const auto& names = building::bacnet::Unit_Names;
    if (Num_Unit < 0 || Num_Unit >= int(names.size()))
        return QStringLiteral("unknown");
    return QString::fromUtf16(names[size_t(Num_Unit)]);
}

TFBACnet_Eng_Unit::TFBACnet_Eng_Unit(QWidget* parent) : platform::TForm(parent)
{
    constexpr int width = 548;
    setObjectName(QStringLiteral("FBACnet_Eng_Unit"));
    shell::Style_Window(this);
    P_Title = shell::Make_Step_Title(this, width, L_SW_Code, L_SW_Desc);

    auto* body = new QWidget(this);
    auto make_label = [body](const char* name, int x, int y, int w) {
        auto* label = new QLabel(body);
        label->setObjectName(QLatin1String(name));
        label->setGeometry(x, y, w, 18);
        return label;
    };
    Label1 = make_label("Label1", 16, 10, 300);
    E_Selected_EU = new QLineEdit(body);
    E_Selected_EU->setObjectName(QStringLiteral("E_Selected_EU"));
    E_Selected_EU->setGeometry(16, 30, 90, 22);
    Label5 = make_label("Label5", 116, 32, 410);
    Label5->setText(QStringLiteral("-> unknown"));
    Label2 = make_label("Label2", 16, 66, 400);
    Label3 = make_label("Label3", 16, 90, 200);
    CB_Select_Type = new QComboBox(body);
    CB_Select_Type->setObjectName(QStringLiteral("CB_Select_Type"));
    CB_Select_Type->setGeometry(16, 110, 200, 24);
    Label4 = make_label("Label4", 232, 90, 200);
    CB_Select_Unit = new QComboBox(body);
    CB_Select_Unit->setObjectName(QStringLiteral("CB_Select_Unit"));
    CB_Select_Unit->setGeometry(232, 110, 300, 24);
    CB_Select_Unit->setMaxVisibleItems(16);
    Btn_Select_Eng_Unit = new controls::TPicButton(body);
    Btn_Select_Eng_Unit->setObjectName(QStringLiteral("Btn_Select_Eng_Unit"));
    Btn_Select_Eng_Unit->setGeometry(16, 148, 200, 28);
    Btn_Select_Eng_Unit->OnClick = [this] { platform::Guarded([this] { Btn_Select_Eng_UnitClick(); }); };
    for (const building::bacnet::Unit_Category& category : building::bacnet::Unit_Categories())
        CB_Select_Type->addItem(category.Name);
    CB_Select_Type->setCurrentIndex(0);
    connect(CB_Select_Type, &QComboBox::activated, this, [this] { CB_Select_TypeSelect(); });

    P_Button = shell::Make_Button_Panel(this);
    Btn_OK = shell::Make_Panel_Button(P_Button, "Btn_OK", 0);
    Btn_OK->SetModalResult(platform::mrOk);
    Btn_Cancel = shell::Make_Panel_Button(P_Button, "Btn_Cancel", 1);
    Btn_Cancel->SetModalResult(platform::mrCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(P_Title);
    layout->addWidget(body, 1);
    layout->addWidget(P_Button);

    L_SW_Code->setText(shell::App_State.SW_Code);
    SetClientSize(width, 306);
    Set_Lang();
    shell::Apply_Window_Look(this);
}

void TFBACnet_Eng_Unit::Set_Lang()
{
    using shell::Lang;
    SetCaption(Lang(4400));
    L_SW_Desc->setText(Lang(4401));
    Btn_OK->SetCaption(Lang(4402));
    Btn_Cancel->SetCaption(Lang(4403));
    Label1->setText(Lang(4404));
    Label2->setText(Lang(4405));
    Label3->setText(Lang(4406));
    Label4->setText(Lang(4407));
    Btn_Select_Eng_Unit->SetCaption(Lang(4408));
}

void TFBACnet_Eng_Unit::FormShow() { CB_Select_TypeSelect(); }

void TFBACnet_Eng_Unit::CB_Select_TypeSelect()
{
    CB_Select_Unit->clear();
    const int category = CB_Select_Type->currentIndex();
    if (category < 0)
        return;
    for (int code : building::bacnet::Unit_Categories()[size_t(category)].Codes)
        CB_Select_Unit->addItem(building::bacnet::Unit_Item_Text(category, code));
    CB_Select_Unit->setCurrentIndex(0);
}

void TFBACnet_Eng_Unit::Btn_Select_Eng_UnitClick()
{
    const int category = CB_Select_Type->currentIndex();
    const int item = CB_Select_Unit->currentIndex();
    if (category < 0 || item < 0)
        return;
    const int code = building::bacnet::Unit_Categories()[size_t(category)].Codes.at(size_t(item));
    E_Selected_EU->setText(QString::number(code));
    Label5->setText(QStringLiteral("-> ") + Desc_Unit(code));
}
