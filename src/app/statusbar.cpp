// The status bar's link health, twice a second: the counters are bumped where the links'
// bytes are handled, and only turned into text here, so the stream pays an addition each.

#include "app/form1.h"

#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

namespace vemra {

void Form1::restartLinkHealth() {
    LinkCount = {};
    linkCountBefore_ = {};
    linkHealthAt_ = clock().now();
    lastBoardData_ = linkHealthAt_;
}

void Form1::TimerLinkHealth_Timer() {
    const QDateTime now = clock().now();
    LinkHealth health;
    health.now = run_.linkHealthCounts();
    health.before = linkCountBefore_;
    health.seconds = linkHealthAt_.isValid() ? linkHealthAt_.msecsTo(now) / 1000.0 : 0.0;
    if (LinkCount.records != linkCountBefore_.records || !lastBoardData_.isValid())
        lastBoardData_ = now;
    health.quietSeconds = lastBoardData_.msecsTo(now) / 1000.0;
    health.boardOpen = MSComm1->portOpen();
    health.running = run_.running();
    health.meterOpen = MSComm2->portOpen();
    LabelLinkHealth->setText(linkHealthText(health));
    linkCountBefore_ = LinkCount;
    linkHealthAt_ = now;
}

} // namespace vemra
