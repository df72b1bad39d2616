#include "words/order_words.h"

#include <QCoreApplication>

namespace velmorandi::words {

namespace {

class Order {
    Q_DECLARE_TR_FUNCTIONS(Order)
};

} // namespace

QString orderMenu() {
    return Order::tr("Order by");
}

QString orderKey(RowOrder::Key key) {
    switch (key) {
    case RowOrder::Key::Modified:
        return Order::tr("Date modified");
    case RowOrder::Key::Size:
        return Order::tr("Size");
    case RowOrder::Key::Type:
        return Order::tr("Type");
    case RowOrder::Key::Name:
        break;
    }
    return Order::tr("Name");
}

QString ascending() {
    return Order::tr("Ascending");
}

QString descending() {
    return Order::tr("Descending");
}

QString orderShown(RowOrder order) {
    const QString key = orderKey(order.key);
    return (order.descending ? Order::tr("Ordered by %1, descending")
                             : Order::tr("Ordered by %1, ascending"))
        .arg(key);
}

} // namespace velmorandi::words
