#include "ui/reason_texts.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Reasons", text);
}

} // namespace

QString SetPointErrorText(SetPointError error) {
    switch (error) {
    case SetPointError::None:
        return QString();
    case SetPointError::ZeroStep:
        return tr("Шаг температуры не может быть равен нулю");
    case SetPointError::StepNotFinite:
        return tr("Шаг температуры не является конечным числом");
    case SetPointError::BoundsNotFinite:
        return tr("Начальная или конечная температура не является конечным числом");
    case SetPointError::SetPointNotFinite:
        return tr("Расчетная температура не является конечным числом");
    case SetPointError::TooManySetPoints:
        return tr("Слишком много строк таблицы: больше %1").arg(kMaxSetPoints);
    }
    return QString();
}

QString FileResultText(const TFileResult &result) {
    const QString shown = QDir::toNativeSeparators(result.fileName);
    switch (result.fault) {
    case TFileResult::Fault::None:
        return QString();
    case TFileResult::Fault::NulInName:
        return tr("Не удалось сохранить файл «%1»: имя содержит недопустимый символ NUL (\\0).")
            .arg(QString(shown).replace(QChar(0), QStringLiteral("\\0")));
    case TFileResult::Fault::FolderName:
        return tr("Не удалось сохранить файл «%1»: это папка, а не имя файла.").arg(shown);
    case TFileResult::Fault::PartialWrite:
        return tr("Не удалось сохранить файл «%1»: %2")
            .arg(shown, tr("записана только часть данных, на диске нет места"));
    case TFileResult::Fault::System:
        break;
    }
    return tr("Не удалось сохранить файл «%1»: %2").arg(shown, result.systemReason);
}
