#pragma once
// The model's texts are single-byte Windows-1252; Qt's are Unicode. Converted here only.
#include <QString>
#include <string>

namespace qtbind {

QString FromAnsi(const std::string& text);
std::string ToAnsi(const QString& text);  // characters outside Windows-1252 become '?'
// A static text's '&' marks a mnemonic ("&&" is one '&'); a label shows it without.
QString LabelText(const std::string& text);

}  // namespace qtbind
