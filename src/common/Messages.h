#pragma once

#include <QString>

// Every message box of the program goes through this service, so that tests can record what the
// user would have seen and script the answers.
enum class MsgIcon { None, Information, Exclamation, Question, Critical };
enum class MsgButtons { Ok, YesNo, OkCancel, RetryCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No, Retry };

struct MessageRequest {
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    MsgAnswer defaultAnswer = MsgAnswer::Ok;
    QString title;
    QString text;
    // The manual page (file name without ".md") that the box offers to open beside its text.
    QString helpPage{};
};

class Messages {
  public:
    static const QString kTitle;  // "Ombrel"
    static const QString kCrLf;   // line break inside message texts

    virtual ~Messages() = default;
    virtual MsgAnswer show(const MessageRequest& request) = 0;

    // The service in use; a silent one until the program or a test installs another.
    static Messages& current();
    // Installs a service (not owned); nullptr restores the silent one.
    static void install(Messages* messages);

    void information(const QString& text, const QString& title = kTitle);
    void exclamation(const QString& text, const QString& title = kTitle);
    // OK-only box without an icon.
    void plain(const QString& text, const QString& title = kTitle);
    // A screen's help text (OK only), offering the manual's page on the screen.
    void help(MsgIcon icon, const QString& text, const QString& page,
              const QString& title = kTitle);
    MsgAnswer askYesNo(const QString& text, MsgAnswer defaultAnswer = MsgAnswer::Yes,
                       MsgIcon icon = MsgIcon::Question, const QString& title = kTitle);
    MsgAnswer askOkCancel(const QString& text, MsgAnswer defaultAnswer = MsgAnswer::Ok,
                          MsgIcon icon = MsgIcon::Question, const QString& title = kTitle);
    // The standard report of an unexpected error: number, line break, description, then the
    // routine's name in parentheses, e.g. "(set_start)".
    void error(int number, const QString& description, const QString& routine);

    static QString errorText(int number, const QString& description, const QString& routine);
};

inline Messages& messages() {
    return Messages::current();
}
