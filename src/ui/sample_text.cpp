#include "ui/sample_text.h"

#include "base/number_format.h"

#include <QCoreApplication>
#include <QStringList>

namespace sampletext {
namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Sample", text);
}

QString fieldName(TSampleCheck::Field field) {
    using Field = TSampleCheck::Field;
    switch (field) {
    case Field::Diameter:
        return tr("Диаметр электрода");
    case Field::SideA:
        return tr("Первая сторона электрода");
    case Field::SideB:
        return tr("Вторая сторона электрода");
    case Field::Area:
        return tr("Площадь электрода");
    case Field::Thickness:
        return tr("Толщина образца");
    case Field::EmptyCell:
        return tr("Ёмкость пустой ячейки C0");
    default:
        return QString();
    }
}

} // namespace

QString problem(const TSampleCheck &check) {
    using Fault = TSampleCheck::Fault;
    switch (check.fault) {
    case Fault::Missing:
        return tr("%1: значение не задано.").arg(fieldName(check.field));
    case Fault::NotFinite:
        return tr("%1: значение должно быть конечным числом.").arg(fieldName(check.field));
    case Fault::NotPositive:
        return tr("%1: значение должно быть больше нуля.").arg(fieldName(check.field));
    case Fault::OutOfRange:
        return tr("С такими размерами ёмкость пустой ячейки C0 не представима числом.");
    default:
        return QString();
    }
}

QString notANumber(TSampleCheck::Field field, const QString &text) {
    return tr("%1: «%2» — не число.").arg(fieldName(field), text);
}

QString summary(const TSample &sample, QChar separator) {
    TSampleCell cell;
    const QString size =
        checkSample(sample, &cell).ok()
            ? tr("C0 = %1 пФ").arg(numfmt::fourDigits(cell.EmptyCellF * 1E12, separator))
            : tr("размеры не заданы");
    return sample.Name.isEmpty() ? tr("Образец: %1").arg(size)
                                 : tr("Образец: %1, %2").arg(sample.Name, size);
}

QString details(const TSample &sample, QChar separator) {
    const auto mm = [separator](double value) { return numfmt::general(value, separator); };
    QStringList lines;
    if (!sample.Name.isEmpty())
        lines << sample.Name;
    switch (sample.Shape) {
    case TSample::Geometry::Circle:
        lines << tr("Электроды: круг диаметром %1 мм").arg(mm(sample.DiameterMm));
        break;
    case TSample::Geometry::Rectangle:
        lines << tr("Электроды: прямоугольник %1 × %2 мм").arg(mm(sample.SideAMm), mm(sample.SideBMm));
        break;
    case TSample::Geometry::Area:
        lines << tr("Электроды: площадь %1 мм²").arg(mm(sample.AreaMm2));
        break;
    case TSample::Geometry::EmptyCell:
        break;
    }
    if (sample.Shape != TSample::Geometry::EmptyCell)
        lines << tr("Толщина: %1 мм").arg(mm(sample.ThicknessMm));
    TSampleCell cell;
    if (checkSample(sample, &cell).ok())
        lines << tr("C0 = %1 пФ").arg(numfmt::fourDigits(cell.EmptyCellF * 1E12, separator));
    if (!sample.Operator.isEmpty())
        lines << tr("Оператор: %1").arg(sample.Operator);
    if (!sample.Notes.isEmpty())
        lines << tr("Примечания: %1").arg(sample.Notes);
    return lines.join(QLatin1Char('\n'));
}

QString pairProblem(TPairProblem problem, const QString &mainName, const QString &secName) {
    switch (problem) {
    case TPairProblem::NoFrequency:
        return tr("частота отсчётов неизвестна");
    case TPairProblem::CurrentReading:
        return tr("прибор измерял ток");
    case TPairProblem::SameParameter:
        return tr("оба параметра — одна величина (%1)").arg(mainName);
    case TPairProblem::UnsupportedPair:
        return tr("пара %1 и %2 не определяет комплексную проводимость").arg(mainName, secName);
    case TPairProblem::MissingValue:
        return tr("значения не прочитаны");
    case TPairProblem::NoFiniteAdmittance:
        return tr("значения %1 и %2 дают бесконечную проводимость").arg(mainName, secName);
    default:
        return QString();
    }
}

} // namespace sampletext
