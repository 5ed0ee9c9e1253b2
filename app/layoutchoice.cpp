#include "layoutchoice.h"

#include "grid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

#include <algorithm>

namespace {

// Items of the two lists, in the order of LayoutSettings' enumerations.
constexpr int standardItem = 0;
constexpr int compactItem = 1;
constexpr int pageItem = 0;
constexpr int cellsItem = 1;

QSpinBox *cellCountField(QWidget *parent, const char *name) {
    auto *field = new QSpinBox(parent);
    field->setObjectName(QLatin1String(name));
    field->setRange(1, gridSize);
    field->setAlignment(Qt::AlignRight);
    return field;
}

} // namespace

LayoutChoice::LayoutChoice(QWidget *parent)
    : QWidget(parent), arrangement_(new QComboBox(this)),
      frameLabel_(new QLabel(QStringLiteral("Rahmen:"), this)), frame_(new QComboBox(this)),
      columns_(cellCountField(this, "RahmenBreiteEd")), times_(new QLabel(QStringLiteral("\u00d7"), this)),
      rows_(cellCountField(this, "RahmenHoeheEd")) {
    arrangement_->setObjectName(QStringLiteral("AnordnungBox"));
    arrangement_->addItems({QStringLiteral("wie bisher (1001 Versuche)"), QStringLiteral("kompakt")});
    frame_->setObjectName(QStringLiteral("RahmenBox"));
    frame_->addItems({QStringLiteral("Seite"), QStringLiteral("Felder:")});
    columns_->setToolTip(QStringLiteral("Breite des Rahmens in Feldern"));
    rows_->setToolTip(QStringLiteral("Höhe des Rahmens in Feldern"));

    auto *arrangementLabel = new QLabel(QStringLiteral("Anordnung:"), this);
    arrangementLabel->setBuddy(arrangement_);
    frameLabel_->setBuddy(frame_);
    auto *cells = new QHBoxLayout;
    cells->setContentsMargins(0, 0, 0, 0);
    cells->addWidget(frame_);
    cells->addWidget(columns_);
    cells->addWidget(times_);
    cells->addWidget(rows_);
    cells->addStretch(1);
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(arrangementLabel, 0, 0);
    grid->addWidget(arrangement_, 0, 1, Qt::AlignLeft);
    grid->addWidget(frameLabel_, 1, 0);
    grid->addLayout(cells, 1, 1);

    setLayout(LayoutSettings());
    connect(arrangement_, qOverload<int>(&QComboBox::currentIndexChanged), this, &LayoutChoice::userChanged);
    connect(frame_, qOverload<int>(&QComboBox::currentIndexChanged), this, &LayoutChoice::userChanged);
    connect(columns_, qOverload<int>(&QSpinBox::valueChanged), this, &LayoutChoice::userChanged);
    connect(rows_, qOverload<int>(&QSpinBox::valueChanged), this, &LayoutChoice::userChanged);
}

LayoutSettings LayoutChoice::layout() const {
    LayoutSettings layout;
    layout.arrangement = arrangement_->currentIndex() == compactItem ? LayoutSettings::Arrangement::Compact
                                                                     : LayoutSettings::Arrangement::Standard;
    layout.frame =
        frame_->currentIndex() == cellsItem ? LayoutSettings::Frame::Cells : LayoutSettings::Frame::Page;
    layout.frameColumns = columns_->value();
    layout.frameRows = rows_->value();
    return layout;
}

void LayoutChoice::setLayout(const LayoutSettings &layout) {
    setting_ = true;
    arrangement_->setCurrentIndex(layout.arrangement == LayoutSettings::Arrangement::Compact ? compactItem
                                                                                             : standardItem);
    frame_->setCurrentIndex(layout.frame == LayoutSettings::Frame::Cells ? cellsItem : pageItem);
    columns_->setValue(std::clamp(layout.frameColumns, 1, gridSize));
    rows_->setValue(std::clamp(layout.frameRows, 1, gridSize));
    setting_ = false;
    showFrameState();
}

void LayoutChoice::showFrameState() {
    const bool compact = arrangement_->currentIndex() == compactItem;
    const bool cells = frame_->currentIndex() == cellsItem;
    frameLabel_->setEnabled(compact);
    frame_->setEnabled(compact);
    columns_->setEnabled(compact && cells);
    times_->setEnabled(compact && cells);
    rows_->setEnabled(compact && cells);
}

void LayoutChoice::userChanged() {
    showFrameState();
    if (!setting_)
        emit chosen(layout());
}
