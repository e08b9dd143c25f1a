#pragma once

#include <QString>
#include <QVector>

// The icon beside a message's text.
enum class TPromptIcon { None, Information, Warning, Question };

// A button of a question. Ok, Yes, No and Cancel are the system's own buttons
// (captioned in Russian); the others carry a label of their own and say what
// choosing them means, which decides where they stand and what Escape picks.
struct TPromptChoice {
    enum class Role { Ok, Yes, No, Cancel, Accept, Destructive, Reject };
    Role role = Role::Ok;
    QString label;
};

// A file to be named for saving.
struct TFileRequest {
    QString caption;
    // One or more "Name (*.ext)" entries separated by ";;".
    QString filter;
    // The name (and folder) offered first.
    QString start;
    // Added to a name typed without one; empty adds nothing.
    QString defaultSuffix;
    // The default suffix becomes that of the filter the user picks.
    bool suffixFollowsFilter = false;
    // Saving over an existing file asks first.
    bool confirmOverwrite = true;
    // Names the dialog, so that it can be told from others.
    QString objectName;
};

// The one way the program asks its user something or tells them something
// they must acknowledge. Controllers get it injected and never build a dialog;
// the window's implementation shows modal dialogs, tests answer from a script.
// Every text given here is already the user's language.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;

    // A message with an OK button; returns when the user has closed it.
    virtual void notice(TPromptIcon icon, const QString &text) = 0;
    // Returns the index of the choice taken, or -1 when the question was
    // closed without one. Enter takes `defaultChoice` (-1: the dialog's own).
    virtual int question(TPromptIcon icon, const QString &text,
                         const QVector<TPromptChoice> &choices, int defaultChoice = -1) = 0;
    // The file chosen; empty when the user cancelled.
    virtual QString saveFile(const TFileRequest &request) = 0;
    // The folder chosen, starting at `start`; empty when the user cancelled.
    virtual QString chooseFolder(const QString &caption, const QString &start) = 0;
};

// The role of the choice a question returned, or nothing for -1.
inline int answerCode(const QVector<TPromptChoice> &choices, int index) {
    return index >= 0 && index < choices.size() ? int(choices[index].role) : -1;
}

// A question answered "Да" or "Нет"; true on "Да". A question whose "Да"
// destroys something passes enterSaysNo, so that Enter keeps what is there.
inline bool askYesNo(UserPrompts &prompts, const QString &text, bool enterSaysNo = false) {
    const QVector<TPromptChoice> choices = {{TPromptChoice::Role::Yes, {}},
                                            {TPromptChoice::Role::No, {}}};
    return prompts.question(TPromptIcon::Question, text, choices, enterSaysNo ? 1 : -1) == 0;
}
