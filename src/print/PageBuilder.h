#pragma once

#include "print/PageModel.h"
#include "print/ReportData.h"
#include "print/ReportLayout.h"

// Lays the rows out on pages: headers, column headings, groups with their totals, 过次页/承前页
// lines carrying the running totals (with their seeds: a ledger's totals from the period's
// start), page footers. A pure function of its inputs.
PageModel buildPages(const ReportLayout& layout, const ReportData& data);
