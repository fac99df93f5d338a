#pragma once
// Modal message boxes. Types and answers keep the values every caller of the
// programs uses: buttons in the low nibble, the icon in the next one.

#include <string>

namespace platform::ui {

enum BoxType : int {
    kBoxOk = 0x0,
    kBoxOkCancel = 0x1,
    kBoxYesNoCancel = 0x3,
    kBoxYesNo = 0x4,
    kBoxIconStop = 0x10,
    kBoxIconQuestion = 0x20,
    kBoxIconExclamation = 0x30,
    kBoxIconInformation = 0x40,
};

enum BoxAnswer : int { kAnswerOk = 1, kAnswerCancel = 2, kAnswerYes = 6, kAnswerNo = 7 };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // `owned`: centred on the program's frame; else a box of its own.
    virtual int Show(const std::string& text, const std::string& caption, int type, bool owned = true) = 0;
};

} // namespace platform::ui
