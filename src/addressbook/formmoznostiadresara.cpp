#include "formmoznostiadresara.h"

#include "contactfields.h"
#include "context/captions.h"
#include "context/guard.h"
#include "context/programcontext.h"
#include "formadresar.h"

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::Literals::StringLiterals;

Tformmoznostiadresara::Tformmoznostiadresara(TFormadresar& window)
    : QDialog(&window), m_window(window) {
    setObjectName(u"formmoznostiadresara"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    connect(this, &QDialog::finished, &window, [&window] { window.activateWindow(); });
    const TLanguageTable& s = window.context().strings;
    const TAddressBookOptions& options = window.options();

    volby = new QListWidget;
    volby->setObjectName(u"volby"_s);
    volby->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (int field = 0; field < 24; ++field) {
        auto* row = new QListWidgetItem(volby);
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(options.values[field] == 1 ? Qt::Checked : Qt::Unchecked);
    }
    volby->setCurrentRow(0);
    volby->setMinimumWidth(250);
    Aplikujjazyk();
    // All 24 rows at once where the screen has room for them.
    volby->setMinimumHeight(std::min(volby->sizeHintForRow(0) * 24 + 2 * volby->frameWidth(), 480));
    pridavanie = new QCheckBox;
    pridavanie->setObjectName(u"pridavanie"_s);
    Caption(pridavanie, s, Str::ChosenFieldsOnly);
    pridavanie->setChecked(options.values[TAddressBookOptions::EditorOption] == 1);
    menoapriezvisko = new QRadioButton;
    menoapriezvisko->setObjectName(u"menoapriezvisko"_s);
    Caption(menoapriezvisko, s, Str::FirstNameFirst);
    priezviskoameno = new QRadioButton;
    priezviskoameno->setObjectName(u"priezviskoameno"_s);
    Caption(priezviskoameno, s, Str::SurnameFirst);
    // The two are one group: exactly one is set; surname first wins a tie.
    if (options.values[TAddressBookOptions::SurnameFirst] == 1)
        priezviskoameno->setChecked(true);
    else
        menoapriezvisko->setChecked(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(volby, 1);
    layout->addWidget(pridavanie);
    layout->addWidget(menoapriezvisko);
    layout->addWidget(priezviskoameno);
    AddOkCancel(layout, this, s, ok, zrusit);
    ConnectGuarded(m_window.context().dialogs, ok, &QPushButton::clicked, this,
                   [this] { okClick(); });
    volby->setFocus();
}

void Tformmoznostiadresara::Aplikujjazyk() {
    const TLanguageTable& s = m_window.context().strings;
    Recaption(this, s);
    setWindowTitle(s[Str::AddressBookOptions]);
    for (int field = 0; field < 24; ++field)
        volby->item(field)->setText(s[kContactFields[field].label]);
}

void Tformmoznostiadresara::okClick() {
    // One of the two names is always chosen.
    if (volby->item(0)->checkState() != Qt::Checked &&
        volby->item(1)->checkState() != Qt::Checked) {
        volby->item(0)->setCheckState(Qt::Checked);
        volby->item(1)->setCheckState(Qt::Checked);
    }
    TAddressBookOptions& options = m_window.options();
    for (int field = 0; field < 24; ++field)
        options.values[field] = volby->item(field)->checkState() == Qt::Checked ? 1 : 0;
    options.values[TAddressBookOptions::EditorOption] = pridavanie->isChecked() ? 1 : 0;
    options.values[TAddressBookOptions::FirstNameFirst] = menoapriezvisko->isChecked() ? 1 : 0;
    options.values[TAddressBookOptions::SurnameFirst] = priezviskoameno->isChecked() ? 1 : 0;
    m_window.Ulozini();
    m_window.Aktualizuj();
    accept();
}
