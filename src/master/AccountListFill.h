#pragma once

// Flattens the heading tree of the working chart into WK_KANJO_PRINT: every account in use
// with its top, middle and small heading, once for each path that reaches it. Throws DbError.
void fillAccountList();
