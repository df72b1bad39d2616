#include "main/grid_order.h"

#include "main/rename_grid_model.h"
#include "words/order_words.h"

#include <QActionGroup>
#include <QHeaderView>
#include <QMenu>

namespace velmorandi {

void addOrderMenu(QMenu& menu, RowOrder now, const std::function<void(RowOrder)>& choose) {
    QMenu* order = menu.addMenu(words::orderMenu());
    order->setObjectName(QStringLiteral("mnuOrder"));
    const auto offer = [&](const char* name, const QString& text, RowOrder chosen, bool checked) {
        QAction* action = order->addAction(text);
        action->setObjectName(QLatin1String(name));
        action->setCheckable(true);
        action->setChecked(checked);
        QObject::connect(action, &QAction::triggered, order, [choose, chosen] { choose(chosen); });
        return action;
    };
    auto* keys = new QActionGroup(order);
    using Key = RowOrder::Key;
    const std::pair<const char*, Key> named[] = {{"mnuOrderName", Key::Name},
                                                 {"mnuOrderModified", Key::Modified},
                                                 {"mnuOrderSize", Key::Size},
                                                 {"mnuOrderType", Key::Type}};
    for (const auto& [name, key] : named)
        keys->addAction(offer(name, words::orderKey(key), {key, now.descending}, now.key == key));
    order->addSeparator();
    auto* directions = new QActionGroup(order);
    directions->addAction(
        offer("mnuOrderAscending", words::ascending(), {now.key, false}, !now.descending));
    directions->addAction(
        offer("mnuOrderDescending", words::descending(), {now.key, true}, now.descending));
}

RowOrder orderOfHeaderClick(RowOrder now) {
    return {RowOrder::Key::Name, now.key == RowOrder::Key::Name && !now.descending};
}

void showOrder(QHeaderView& header, RowOrder order) {
    header.setSortIndicatorShown(order != RowOrder{});
    header.setSortIndicator(RenameGridModel::Original,
                            order.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

} // namespace velmorandi
