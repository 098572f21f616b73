#pragma once
#include <QString>
#include <exception>
#include <string>

namespace platform {

// An error the user must see; the guard shows its message in an error box.
class Exception : public std::exception {
public:
    explicit Exception(QString message) : Message(std::move(message)), Utf8(Message.toStdString()) {}
    const char* what() const noexcept override { return Utf8.c_str(); }
    const QString& message() const noexcept { return Message; }

private:
    QString Message;
    std::string Utf8;
};

}  // namespace platform
