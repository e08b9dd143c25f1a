#include "ui/typing_limit.h"

TypingLimit::TypingLimit(int maxLength, QObject *parent)
    : QValidator(parent), m_maxLength(maxLength) {}

// Shortening is always allowed, so a text loaded longer than the limit can
// still be edited down.
QValidator::State TypingLimit::validate(QString &input, int & /*pos*/) const {
    return input.size() <= m_maxLength ? Acceptable : Invalid;
}
