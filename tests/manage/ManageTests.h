#pragma once

// What the tests of the management window share: its widgets, and the orchards they are shown with.

#include "card/WeeklyCard.h"
#include "kit/ShortNumber.h"
#include "kit/TabularDigits.h"
#include "kit/TextStyle.h"
#include "manage/BuyButton.h"
#include "manage/CapsuleButton.h"
#include "manage/CoinLabel.h"
#include "manage/CrateGauge.h"
#include "manage/DexTab.h"
#include "manage/DyePicker.h"
#include "manage/Header.h"
#include "manage/Label.h"
#include "manage/OrchardTab.h"
#include "manage/RecordTab.h"
#include "manage/SettingsTab.h"
#include "manage/SpriteView.h"
#include "manage/StyleTab.h"
#include "manage/WeeksChart.h"
#include "manage/WorkersTab.h"
#include "support/ManageTestSupport.h"
#include "support/MessageLog.h"

#include <QAccessible>
#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace pipfield::test {

inline Orchard withCrate(std::int64_t count, std::int64_t coins = 10) {
    Orchard o = idleOrchard(coins);
    o.crate.set(TreeKind::eureka, count);
    return o;
}

inline Orchard withPlanter(std::int64_t level, std::int64_t coins = 10) {
    Orchard o = idleOrchard(coins);
    o.workers.set(WorkerRole::planter, level);
    return o;
}

} // namespace pipfield::test
