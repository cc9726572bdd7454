#include "desktop/projectwindow/MediaOverview.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <algorithm>

#include "core/project/UnplacedNotice.h"
#include "core/settings/TextNumber.h"
#include "core/strings/StringIds.h"
#include "core/strings/StringTable.h"

namespace zv {

namespace {

// Unplaced items must not be overlooked.
const QColor kUnplacedText(192, 0, 0);
constexpr int kFillSteps = 1000;

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

QString Grouped(double value) {
    return Text(FormatGrouped(value));
}

QString Percent(double fill) {
    return QString::number(100 * fill, 'f', 1) + QLatin1Char('%');
}

// Draws a fill cell as the platform's progress bar, so how full each medium
// is reads at a glance down the column.
class FillBarDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QVariant fill = index.data(MediaOverview::kFillRole);
        if (!fill.isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.text.clear();
        QStyle* style = option.widget ? option.widget->style() : QApplication::style();
        style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, option.widget);

        QStyleOptionProgressBar bar;
        bar.rect = option.rect.adjusted(2, 2, -2, -2);
        bar.minimum = 0;
        bar.maximum = kFillSteps;
        bar.progress = static_cast<int>(std::clamp(fill.toDouble(), 0.0, 1.0) * kFillSteps);
        bar.text = index.data(Qt::DisplayRole).toString();
        bar.textVisible = true;
        bar.textAlignment = Qt::AlignCenter;
        bar.state = option.state | QStyle::State_Horizontal;
        bar.palette = option.palette;
        style->drawControl(QStyle::CE_ProgressBar, &bar, painter, option.widget);
    }
};

QTreeWidgetItem* NewRow(QTreeWidgetItem* parent, int16_t medium) {
    auto* row = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem;
    row->setData(MediaOverview::Medium, MediaOverview::kMediumRole, medium);
    for (const int column : {MediaOverview::Items, MediaOverview::Bytes, MediaOverview::FileSystem,
                             MediaOverview::Free})
        row->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    return row;
}

void MarkUnplaced(QTreeWidgetItem* row) {
    for (int column = 0; column < MediaOverview::ColumnCount; ++column)
        row->setForeground(column, kUnplacedText);
}

}  // namespace

MediaOverview::MediaOverview(QWidget* parent) : QTreeWidget(parent) {
    setObjectName(QStringLiteral("objMediaOverview"));
    setColumnCount(ColumnCount);
    const int captions[] = {text_id::OverviewMediumColumn, text_id::OverviewItemsColumn,
                            text_id::OverviewBytesColumn,  text_id::OverviewFileSystemColumn,
                            text_id::OverviewFreeColumn,   text_id::OverviewFillColumn,
                            text_id::OverviewNoteColumn};
    QStringList captionTexts;
    for (const int caption : captions)
        captionTexts << Text(ResString(caption));
    setHeaderLabels(captionTexts);
    for (const int column : {Items, Bytes, FileSystem, Free})
        headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    setItemDelegateForColumn(Fill, new FillBarDelegate(this));
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    header()->setStretchLastSection(true);
    header()->setMinimumSectionSize(60);
    setColumnWidth(Fill, 160);

    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
        if (row != nullptr)
            emit MediumChosen(static_cast<int16_t>(row->data(Medium, kMediumRole).toInt()));
    });
}

void MediaOverview::Show(const MediaSummary& summary, const std::vector<ProjectItem>& items,
                         const std::vector<std::string>& labels) {
    const QSignalBlocker quiet(this);
    clear();
    const bool sized = summary.capacity > 0;
    QList<QTreeWidgetItem*> rows;
    for (const MediumFigures& medium : summary.media) {
        QTreeWidgetItem* row = NewRow(nullptr, static_cast<int16_t>(medium.number));
        const size_t label = static_cast<size_t>(medium.number - 1);
        row->setText(Medium,
                     label < labels.size() ? Text(labels[label]) : QString::number(medium.number));
        row->setText(Items, Grouped(medium.items));
        row->setText(Bytes, Grouped(medium.bytes));
        row->setText(FileSystem, Grouped(medium.fileSystem));
        if (sized) {
            row->setText(Free, Grouped(medium.free));
            row->setText(Fill, Percent(medium.fill));
            row->setData(Fill, kFillRole, medium.fill);
        }
        rows.append(row);
    }
    if (!summary.unplaced.empty()) {
        QTreeWidgetItem* head = NewRow(nullptr, 0);
        double bytes = 0;
        for (const UnplacedItem& item : summary.unplaced) {
            QTreeWidgetItem* row = NewRow(head, 0);
            row->setText(Medium, Text(items[item.index].name));
            row->setText(Bytes, Grouped(item.bytes));
            row->setText(Note, Text(UnplacedReasonText(item.reason)));
            row->setToolTip(Note, row->text(Note));
            MarkUnplaced(row);
            bytes += item.bytes;
        }
        head->setText(Medium, Text(ResString(text_id::OverviewUnplacedRow)));
        head->setText(Items, Grouped(static_cast<double>(summary.unplaced.size())));
        head->setText(Bytes, Grouped(bytes));
        QFont bold = head->font(Medium);
        bold.setBold(true);
        for (int column = 0; column < ColumnCount; ++column)
            head->setFont(column, bold);
        MarkUnplaced(head);
        rows.append(head);
    }
    addTopLevelItems(rows);
    expandAll();
    setColumnHidden(FileSystem, !summary.fileSystemAllowed);
    for (const int column : {Medium, Items, Bytes, FileSystem, Free})
        resizeColumnToContents(column);
}

void MediaOverview::MarkMedium(int16_t medium) {
    const QSignalBlocker quiet(this);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        QTreeWidgetItem* row = topLevelItem(i);
        if (row->data(Medium, kMediumRole).toInt() == medium) {
            setCurrentItem(row);
            return;
        }
    }
    setCurrentItem(nullptr);
}

}  // namespace zv
