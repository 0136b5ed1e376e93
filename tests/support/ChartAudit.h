#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "common/Money.h"

// One account of a chart as the statements, the totals pass and the daily entry screen see it.
struct ChartAccount {
    QString kocode, kmcode, name, syorikbn, taikbn, tocode, buncode, siyou, daibun, kisyumkbn,
        aicode, hojoset, hosetno;
    qint64 jun = 0;
    Money kisyuzan;
};

using Chart = QList<ChartAccount>;

// The shipped template chart, or a set's chart: the template with the set's own values over it.
Chart loadTemplateChart();
Chart loadSetChart(const QString& cid);

// Every rule of a coherent chart that the chart breaks, one line each, tagged "R1".."R19".
QStringList auditChart(const Chart& chart);
