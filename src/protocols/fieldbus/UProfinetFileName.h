#pragma once
#include "platform/TForm.h"

#include <QDate>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
namespace controls {
class TPicButton;
}

// "PROFINET XML File Name": the standard GSDML file name, with a part the user may add between
// its fixed parts. OK composes Name_File_XML.
class TFProfinetFileName : public platform::TForm {
    Q_OBJECT
public:
    explicit TFProfinetFileName(QWidget* parent = nullptr);
    void Set_Lang() override;
    // The dated fixed part follows this day (the day the window was made, at first).
    void Set_Date(const QDate& date);
    void Btn_OKClick();

    // The user part may not leave the folder nor hold what file names forbid: the first such
    // character, or nothing.
    static std::optional<QChar> Forbidden_Character(const QString& user);
    // The name for a user part: the fixed parts alone when it is blank, else joined by "_".
    QString Compose(const QString& user) const;

    QWidget* P_Title = nullptr;
    QLabel* L_SW_Code = nullptr;
    QLabel* L_SW_Desc = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* L_XML_Fix1 = nullptr;
    QLabel* L_XML_Fix2 = nullptr;
    QLineEdit* E_XML_User = nullptr;
    QWidget* P_Button = nullptr;
    controls::TPicButton* Btn_OK = nullptr;
    controls::TPicButton* Btn_Cancel = nullptr;

    QString Name_File_XML;
};

TFProfinetFileName* FProfinetFileName();
