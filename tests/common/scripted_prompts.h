// Answers the program's questions from a script and records everything it
// asked, so that tests need no modal dialog.
#pragma once

#include "engine/user_prompts.h"

#include <QList>
#include <QStringList>
#include <QVector>

#include <functional>

class ScriptedPrompts : public UserPrompts {
public:
    struct Ask {
        enum class Kind { Notice, Question, SaveFile, Folder };
        Kind kind = Kind::Notice;
        TPromptIcon icon = TPromptIcon::None;
        QString text;
        QVector<TPromptChoice> choices;
        int defaultChoice = -1;
        TFileRequest file;
    };
    // An answer to a question: the choice with this label, or without a
    // label the one with this role.
    struct Answer {
        TPromptChoice::Role role = TPromptChoice::Role::Yes;
        QString label;
    };

    // Questions take these in turn; with none left, a question is answered as
    // Enter answers it (its default; -1 when it has none).
    QList<Answer> answers;
    // Called for each question instead, when set; returns the choice's index.
    std::function<int(const Ask &)> onQuestion;
    // Every file request is answered with this name ("" cancels), unless
    // onSaveFile answers it.
    QString saveAs;
    std::function<QString(const TFileRequest &)> onSaveFile;
    QString folder;
    // Called for each notice, when set.
    std::function<void(const Ask &)> onNotice;

    QVector<Ask> asks;

    void notice(TPromptIcon icon, const QString &text) override {
        Ask ask;
        ask.icon = icon;
        ask.text = text;
        asks << ask;
        if (onNotice)
            onNotice(ask);
    }

    int question(TPromptIcon icon, const QString &text, const QVector<TPromptChoice> &choices,
                 int defaultChoice = -1) override {
        Ask ask;
        ask.kind = Ask::Kind::Question;
        ask.icon = icon;
        ask.text = text;
        ask.choices = choices;
        ask.defaultChoice = defaultChoice;
        asks << ask;
        if (onQuestion)
            return onQuestion(ask);
        if (answers.isEmpty())
            return defaultChoice;
        const Answer answer = answers.takeFirst();
        for (int i = 0; i < choices.size(); ++i)
            if (answer.label.isEmpty() ? choices[i].role == answer.role
                                       : choices[i].label == answer.label)
                return i;
        return -1;
    }

    QString saveFile(const TFileRequest &request) override {
        Ask ask;
        ask.kind = Ask::Kind::SaveFile;
        ask.text = request.caption;
        ask.file = request;
        asks << ask;
        return onSaveFile ? onSaveFile(request) : saveAs;
    }

    QString chooseFolder(const QString &caption, const QString &start) override {
        Ask ask;
        ask.kind = Ask::Kind::Folder;
        ask.text = caption;
        ask.file.start = start;
        asks << ask;
        return folder;
    }

    // The texts of what was asked or told of one kind, in order.
    QStringList texts(Ask::Kind kind) const {
        QStringList list;
        for (const Ask &ask : asks)
            if (ask.kind == kind)
                list << ask.text;
        return list;
    }
    QStringList notices() const { return texts(Ask::Kind::Notice); }
    QStringList questions() const { return texts(Ask::Kind::Question); }
};
