#include "tablecolumns.h"

#include "contactfields.h"
#include "exchange/csvtable.h"
#include "language/languagetable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

namespace {

// The check box that sends the dates of birth to the birthdays list too;
// off unless the user asks.
QCheckBox* birthdaysBox(const TLanguageTable& s) {
    auto* box = new QCheckBox(s[Str::AddBirthdays]);
    box->setObjectName(u"narodeniny"_s);
    return box;
}

// Import (the default) and Cancel.
QDialogButtonBox* importButtons(QDialog* dialog, const TLanguageTable& s) {
    auto* buttons = new QDialogButtonBox;
    QPushButton* import = buttons->addButton(s[Str::Import], QDialogButtonBox::AcceptRole);
    import->setObjectName(u"importovat"_s);
    import->setDefault(true);
    buttons->addButton(s[Str::Cancel], QDialogButtonBox::RejectRole)->setObjectName(u"zrusit"_s);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

void makeImportDialog(QDialog* dialog) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowModality(Qt::WindowModal);
}

} // namespace

TTableColumnsDialog::TTableColumnsDialog(QWidget* owner, const TLanguageTable& s,
                                         const QString& file, TextEncoding encoding)
    : QDialog(owner) {
    setObjectName(u"stlpcetabulky"_s);
    makeImportDialog(this);
    setWindowTitle(s[Str::CsvColumns].arg(QFileInfo(file).fileName()));
    QFile input(file);
    OpenForReading(input);
    TLineReader lines(input, encoding);
    QByteArrayView first;
    lines.next(first);
    if (first.startsWith(kUtf8Bom))
        first = first.sliced(kUtf8Bom.size());
    m_separator = CsvSeparator(encoding == TextEncoding::Cp1250 ? QString::fromLatin1(first)
                                                                : QString::fromUtf8(first));
    input.seek(0);
    TCsvReader reader(input, encoding, m_separator);
    QStringList names, values;
    reader.next(names);
    reader.next(values);
    QStringList labels;
    for (const TFormField& field : kContactFields)
        labels.append(s[field.label]);
    const QList<int> known = CsvHeaderMap(names, labels);
    const bool named =
        std::any_of(known.begin(), known.end(), [](int field) { return field >= 0 && field < 24; });

    auto* grid = new QGridLayout;
    for (int column = 0; column < names.size(); ++column) {
        auto* name = new QLabel(named ? names[column] : QString::number(column + 1));
        auto* sample = new QLabel((named ? values : names).value(column).left(40));
        sample->setEnabled(false);
        auto* field = new QComboBox;
        field->setObjectName(u"stlpec%1"_s.arg(column + 1));
        field->addItem(s[Str::CsvSkip], -1);
        for (int f = 0; f < 24; ++f)
            field->addItem(labels[f], f);
        field->addItem(s[Str::BirthdayField], kBirthdayColumn);
        const int chosen = named ? known.value(column, -1) : -1;
        field->setCurrentIndex(std::max(0, field->findData(chosen)));
        name->setBuddy(field);
        grid->addWidget(name, column, 0);
        grid->addWidget(field, column, 1);
        grid->addWidget(sample, column, 2);
        m_fields.append(field);
    }
    grid->setColumnStretch(2, 1);
    auto* inner = new QWidget;
    inner->setLayout(grid);
    auto* scroll = new QScrollArea;
    scroll->setWidget(inner);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    m_header = new QCheckBox(s[Str::CsvHeaderRow]);
    m_header->setObjectName(u"hlavicka"_s);
    m_header->setChecked(named);
    // The birthdays can be asked for once a column holds the dates.
    m_birthdays = birthdaysBox(s);
    const auto datesMapped = [this] { m_birthdays->setEnabled(map().contains(kBirthdayColumn)); };
    for (QComboBox* field : std::as_const(m_fields))
        connect(field, &QComboBox::currentIndexChanged, this, datesMapped);
    datesMapped();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(scroll, 1);
    layout->addWidget(m_birthdays);
    layout->addWidget(importButtons(this, s));
}

QList<int> TTableColumnsDialog::map() const {
    QList<int> fields;
    for (const QComboBox* field : m_fields)
        fields.append(field->currentData().toInt());
    return fields;
}

bool TTableColumnsDialog::headerRow() const {
    return m_header->isChecked();
}

bool TTableColumnsDialog::addBirthdays() const {
    return m_birthdays->isEnabled() && m_birthdays->isChecked();
}

TVCardImportDialog::TVCardImportDialog(QWidget* owner, const TLanguageTable& s, const QString& file,
                                       qint64 birthdays)
    : QDialog(owner) {
    setObjectName(u"importvizitiek"_s);
    makeImportDialog(this);
    setWindowTitle(s[Str::Import]);
    m_birthdays = birthdaysBox(s);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        s[Str::VCardBirthdays].arg(QFileInfo(file).fileName(), QString::number(birthdays))));
    layout->addWidget(m_birthdays);
    layout->addWidget(importButtons(this, s));
}

bool TVCardImportDialog::addBirthdays() const {
    return m_birthdays->isChecked();
}
