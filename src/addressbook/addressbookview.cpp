#include "addressbookview.h"

#include "contactfields.h"
#include "storage/linefile.h"

#include <QFileInfo>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kVersion = u"2.0"_s;
const QString kDefaultFilter = u"where viditelnost=1"_s;
const QString kDefaultOrder = u"ORDER BY priezvisko"_s;

// The value of a line when it is a whole number within [low, high].
bool wholeNumber(const QString& text, int low, int high, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && value >= low && value <= high;
}

// The filters and orders the sort keys write.
QStringList writtenFragments(QString (*fragment)(int key), const QString& besides) {
    QStringList written{besides};
    for (int key = 0; key <= 24; ++key)
        written.append(fragment(key));
    return written;
}

} // namespace

QString SortFilter(int key) {
    if (key == 0)
        return u"WHERE viditelnost=1"_s;
    return u"WHERE (viditelnost =1) AND ("_s + QLatin1StringView(kContactFields[key - 1].name) +
           u" not LIKE \"\")"_s;
}

QString SortOrder(int key) {
    return u"ORDER BY "_s +
           (key == 0 ? u"id"_s : QString::fromLatin1(kContactFields[key - 1].name));
}

void Nastavdefauld(TAddressBookOptions& options) {
    options.firstRun = 0;
    options.values = TAddressBookOptions::Defaults();
}

QStringList AddressBookViewLines(const TModuleState& module, const TAddressBookOptions& options) {
    QStringList lines{kVersion, QString::number(options.firstRun)};
    for (int value : options.values)
        lines.append(QString::number(value));
    lines << module.table << module.caption << module.filter << module.order << module.direction;
    return lines;
}

void ReadAddressBookView(const QStringList& lines, TModuleState& module,
                         TAddressBookOptions& options) {
    if (lines.value(0) != kVersion) {
        Nastavdefauld(options);
        return;
    }
    // Only values the program writes: flags 0 or 1, a sort key of a field,
    // and one of the two name orders at least.
    std::array<int, TAddressBookOptions::Count> values{};
    for (int i = 0; i < TAddressBookOptions::Count; ++i) {
        const int high = i == TAddressBookOptions::SortKey ? 24 : 1;
        if (!wholeNumber(lines.value(2 + i), 0, high, values[i])) {
            Nastavdefauld(options);
            return;
        }
    }
    if (values[TAddressBookOptions::FirstNameFirst] == 0 &&
        values[TAddressBookOptions::SurnameFirst] == 0) {
        Nastavdefauld(options);
        return;
    }
    const QString firstRun = lines.value(1);
    if (firstRun == u"0" || firstRun == u"1")
        options.firstRun = firstRun.toInt();
    options.values = values;
    module.table = lines.value(31);
    module.caption = lines.value(32);
    static const QStringList kFilters = writtenFragments(SortFilter, kDefaultFilter);
    static const QStringList kOrders = writtenFragments(SortOrder, kDefaultOrder);
    module.filter = KnownFragment(lines.value(33), kFilters, kDefaultFilter);
    module.order = KnownFragment(lines.value(34), kOrders, kDefaultOrder);
    module.direction = KnownFragment(lines.value(35), {u" DESC"_s}, QString());
}

void Nastavadresar(TModuleState& module, TAddressBookOptions& options) {
    if (QFileInfo::exists(module.view))
        ReadAddressBookView(LineFile::read(module.view), module, options);
    else
        Nastavdefauld(options);
}
