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

TTableColumnsDialog::TTableColumnsDialog(QWidget* owner, const TLanguageTable& s,
                                         const QString& file, TextEncoding encoding)
    : QDialog(owner) {
    setObjectName(u"stlpcetabulky"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::WindowModal);
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
        const int chosen = known.value(column, -1);
        field->setCurrentIndex(named && chosen >= 0 && chosen < 24 ? chosen + 1 : 0);
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
    auto* buttons = new QDialogButtonBox;
    QPushButton* import = buttons->addButton(s[Str::Import], QDialogButtonBox::AcceptRole);
    import->setObjectName(u"importovat"_s);
    import->setDefault(true);
    buttons->addButton(s[Str::Cancel], QDialogButtonBox::RejectRole)->setObjectName(u"zrusit"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_header);
    layout->addWidget(scroll, 1);
    layout->addWidget(buttons);
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
