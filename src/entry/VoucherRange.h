#pragma once

// Reads the lowest and highest voucher code of the current account set into the session's
// MinDencode and MaxDencode (both "" when the set has no voucher).
bool GetMinMaxSiwakeDenCode();
