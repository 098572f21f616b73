#pragma once
#include "controls/buttons_pages/PicButton.h"
#include "platform/TForm.h"

#include <QLabel>
#include <functional>

// "About...": the program's name, description, version, software code and manual code, and a link
// to the maker's home page. Its captions are fixed English texts, untouched by a language change.
class TFAbout : public platform::TForm {
    Q_OBJECT
public:
    explicit TFAbout(QWidget* parent = nullptr);

    void FormShow() override;
    // Opens the maker's home page (the logo and the address both lead there).
    void Label4Click();

    // Opens a web address; tests replace it.
    std::function<bool(const QString&)> Link_Opener;

    QLabel* Image2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label10;
    QLabel* Label6;
    QLabel* Label9;
    QLabel* Label8;
    QLabel* Label12;
    QLabel* Label4;
    controls::TPicButton* PicButton1;
};

TFAbout* FAbout();
