#include "ui/sample_dialog.h"

#include "base/number_format.h"
#include "ui/message_box.h"
#include "ui/sample_text.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

namespace {

using Field = TSampleCheck::Field;

QLineEdit *numberEdit(const char *name) {
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMaximumWidth(120);
    return edit;
}

// In the order of TSample::Geometry.
const TSample::Geometry kShapes[] = {TSample::Geometry::Circle, TSample::Geometry::Rectangle,
                                     TSample::Geometry::Area, TSample::Geometry::EmptyCell};

bool usesField(TSample::Geometry shape, Field field) {
    switch (field) {
    case Field::Diameter:
        return shape == TSample::Geometry::Circle;
    case Field::SideA:
    case Field::SideB:
        return shape == TSample::Geometry::Rectangle;
    case Field::Area:
        return shape == TSample::Geometry::Area;
    case Field::Thickness:
        return shape != TSample::Geometry::EmptyCell;
    default:
        return shape == TSample::Geometry::EmptyCell;
    }
}

} // namespace

SampleDialog::SampleDialog(QChar separator, QWidget *parent)
    : QDialog(parent), m_separator(separator) {
    setObjectName(QStringLiteral("dlgSample"));
    setWindowTitle(tr("Образец"));
    m_notice = [this](const QString &text) { ShowNotice(this, text); };

    m_name = new QLineEdit;
    m_name->setObjectName(QStringLiteral("leSampleName"));
    m_shape = new QComboBox;
    m_shape->setObjectName(QStringLiteral("cmbElectrodes"));
    m_shape->addItems({tr("круг (диаметр)"), tr("прямоугольник (две стороны)"), tr("площадь"),
                       tr("не заданы: известна ёмкость пустой ячейки C0")});
    m_diameter = numberEdit("leDiameter");
    m_sideA = numberEdit("leSideA");
    m_sideB = numberEdit("leSideB");
    m_area = numberEdit("leArea");
    m_thickness = numberEdit("leThickness");
    m_emptyCell = numberEdit("leEmptyCell");
    m_operator = new QLineEdit;
    m_operator->setObjectName(QStringLiteral("leOperator"));
    m_notes = new QPlainTextEdit;
    m_notes->setObjectName(QStringLiteral("meNotes"));
    m_notes->setTabChangesFocus(true);
    m_emptyCellShown = new QLabel;
    m_emptyCellShown->setObjectName(QStringLiteral("lblEmptyCell"));

    auto *sides = new QWidget;
    auto *sidesLayout = new QHBoxLayout(sides);
    sidesLayout->setContentsMargins(0, 0, 0, 0);
    sidesLayout->addWidget(m_sideA);
    sidesLayout->addWidget(new QLabel(QStringLiteral("×")));
    sidesLayout->addWidget(m_sideB);
    sidesLayout->addStretch(1);

    m_form = new QFormLayout;
    m_form->addRow(tr("Название:"), m_name);
    m_form->addRow(tr("Электроды:"), m_shape);
    m_form->addRow(tr("Диаметр, мм:"), m_diameter);
    m_form->addRow(tr("Стороны, мм:"), sides);
    m_form->addRow(tr("Площадь, мм²:"), m_area);
    m_form->addRow(tr("Толщина, мм:"), m_thickness);
    m_form->addRow(tr("C0, пФ:"), m_emptyCell);
    m_form->addRow(QString(), m_emptyCellShown);
    m_form->addRow(tr("Оператор:"), m_operator);
    m_form->addRow(tr("Примечания:"), m_notes);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton *none = buttons->addButton(tr("Без образца"), QDialogButtonBox::ResetRole);
    none->setObjectName(QStringLiteral("btnNoSample"));
    connect(buttons, &QDialogButtonBox::accepted, this, &SampleDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(none, &QPushButton::clicked, this, &SampleDialog::acceptWithoutSample);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(m_form);
    layout->addWidget(buttons);

    connect(m_shape, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SampleDialog::showShape);
    for (QLineEdit *edit : {m_diameter, m_sideA, m_sideB, m_area, m_thickness, m_emptyCell})
        connect(edit, &QLineEdit::textChanged, this, &SampleDialog::showEmptyCell);
    showShape();
}

QLineEdit *SampleDialog::field(const char *objectName) const {
    return findChild<QLineEdit *>(QString::fromLatin1(objectName));
}

void SampleDialog::setSample(const std::optional<TSample> &sample) {
    const TSample s = sample.value_or(TSample());
    const auto text = [this](double value) {
        return std::isfinite(value) ? numfmt::general(value, m_separator) : QString();
    };
    m_name->setText(s.Name);
    for (int i = 0; i < int(std::size(kShapes)); ++i)
        if (kShapes[i] == s.Shape)
            m_shape->setCurrentIndex(i);
    m_diameter->setText(text(s.DiameterMm));
    m_sideA->setText(text(s.SideAMm));
    m_sideB->setText(text(s.SideBMm));
    m_area->setText(text(s.AreaMm2));
    m_thickness->setText(text(s.ThicknessMm));
    m_emptyCell->setText(text(s.EmptyCellPf));
    m_operator->setText(s.Operator);
    m_notes->setPlainText(s.Notes);
    showShape();
}

bool SampleDialog::read(TSample *sample, QString *problem) const {
    TSample s;
    s.Name = m_name->text().trimmed();
    s.Shape = kShapes[std::max(0, m_shape->currentIndex())];
    s.Operator = m_operator->text().trimmed();
    s.Notes = m_notes->toPlainText();
    const struct {
        QLineEdit *edit;
        double *value;
        Field field;
    } numbers[] = {
        {m_diameter, &s.DiameterMm, Field::Diameter},
        {m_sideA, &s.SideAMm, Field::SideA},
        {m_sideB, &s.SideBMm, Field::SideB},
        {m_area, &s.AreaMm2, Field::Area},
        {m_thickness, &s.ThicknessMm, Field::Thickness},
        {m_emptyCell, &s.EmptyCellPf, Field::EmptyCell},
    };
    const QChar other = m_separator == QLatin1Char(',') ? QLatin1Char('.') : QLatin1Char(',');
    for (const auto &n : numbers) {
        const QString text = n.edit->text().trimmed();
        if (text.isEmpty() || numfmt::parseFloat(text, m_separator, n.value) ||
            numfmt::parseFloat(text, other, n.value))
            continue;
        *n.value = std::numeric_limits<double>::quiet_NaN();
        // A value the shape does not use is dropped when it does not read.
        if (usesField(s.Shape, n.field)) {
            *problem = sampletext::notANumber(n.field, text);
            return false;
        }
    }
    *sample = s;
    return true;
}

QString SampleDialog::problem() const {
    TSample s;
    QString problem;
    if (!read(&s, &problem))
        return problem;
    return sampletext::problem(checkSample(s));
}

void SampleDialog::accept() {
    TSample s;
    QString problem;
    if (read(&s, &problem))
        problem = sampletext::problem(checkSample(s));
    if (!problem.isEmpty()) {
        m_notice(problem + QLatin1Char(' ') + tr("Образец не изменён."));
        return;
    }
    m_chosen = s;
    QDialog::accept();
}

void SampleDialog::acceptWithoutSample() {
    m_chosen.reset();
    QDialog::accept();
}

void SampleDialog::showShape() {
    const TSample::Geometry shape = kShapes[std::max(0, m_shape->currentIndex())];
    m_form->setRowVisible(m_diameter, usesField(shape, Field::Diameter));
    m_form->setRowVisible(m_sideA->parentWidget(), usesField(shape, Field::SideA));
    m_form->setRowVisible(m_area, usesField(shape, Field::Area));
    m_form->setRowVisible(m_thickness, usesField(shape, Field::Thickness));
    m_form->setRowVisible(m_emptyCell, usesField(shape, Field::EmptyCell));
    showEmptyCell();
}

void SampleDialog::showEmptyCell() {
    TSample s;
    QString problem;
    TSampleCell cell;
    const bool ok = read(&s, &problem) && checkSample(s, &cell).ok();
    m_emptyCellShown->setText(
        ok ? tr("C0 = %1 пФ").arg(numfmt::general(cell.EmptyCellF * 1E12, m_separator))
           : QString());
}
