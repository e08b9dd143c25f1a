#pragma once

#include <QValidator>

// The most characters a user may type or paste into an edit. Unlike a
// maximum length it leaves alone a longer text the program puts in (a value
// from the settings file), which must arrive whole.
class TypingLimit : public QValidator {
    Q_OBJECT
public:
    TypingLimit(int maxLength, QObject *parent);

    int maxLength() const { return m_maxLength; }
    State validate(QString &input, int &pos) const override;

private:
    int m_maxLength;
};
