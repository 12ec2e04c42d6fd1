#pragma once

#include <QString>
#include <functional>

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
};

// The title a box without one of its own shows.
QString applicationTitle();

// Every message box of the program goes through here.
MsgAnswer showMessage(const QString &text, const QString &title = QString(),
                      MsgButtons buttons = MsgButtons::OK, MsgIcon icon = MsgIcon::None);

// Tests answer boxes from a script instead; an empty handler restores real boxes.
using MessageHandler = std::function<MsgAnswer(const MessageRequest &)>;
void setMessageHandler(MessageHandler handler);

} // namespace platform
