#pragma once

#include <QString>
#include <functional>
#include <optional>

namespace platform {

enum class MsgButtons { OK, OKCancel, YesNo, YesNoCancel };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { OK, Cancel, Yes, No };

struct MessageRequest
{
    QString text;
    QString title; // never empty once shown: the application title stands in
    MsgButtons buttons = MsgButtons::OK;
    MsgIcon icon = MsgIcon::None;
    MsgAnswer defaultButton = MsgAnswer::OK; // what Enter answers
    MsgAnswer escapeButton = MsgAnswer::OK;  // what Escape and the title bar's close button answer
};

// The platform's own choice: the first button for Enter; Cancel, else No,
// else the only button for Escape.
MsgAnswer platformDefaultButton(MsgButtons buttons);
MsgAnswer platformEscapeButton(MsgButtons buttons);

// The title a box without one of its own shows.
QString applicationTitle();

// Every message box of the program goes through here.
// A box that names its default button (No before a deletion) passes it;
// otherwise the platform's choice stands.
MsgAnswer showMessage(const QString &text, const QString &title = QString(),
                      MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None,
                      std::optional<MsgAnswer> defaultButton = std::nullopt);

// Tests answer boxes from a script instead; an empty handler restores real boxes.
using MessageHandler = std::function<MsgAnswer(const MessageRequest &)>;
void setMessageHandler(MessageHandler handler);

} // namespace platform
