#pragma once

#include "engine/user_prompts.h"

#include <QPointer>

class QWidget;

// The window's way of asking: modal message boxes titled with the program's
// name, Russian captions on the system's buttons, and the system's file
// dialogs. A dialog belongs to the modal dialog open at the time, if any, so
// that it shows above it, and otherwise to `window`.
class DialogPrompts : public UserPrompts {
public:
    explicit DialogPrompts(QWidget *window);

    void notice(TPromptIcon icon, const QString &text) override;
    int question(TPromptIcon icon, const QString &text, const QVector<TPromptChoice> &choices,
                 int defaultChoice = -1) override;
    QString saveFile(const TFileRequest &request) override;
    QString chooseFolder(const QString &caption, const QString &start) override;

private:
    QWidget *dialogParent() const;

    QPointer<QWidget> m_window;
};
