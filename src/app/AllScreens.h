#pragma once

// Makes every screen of the program known by its form name.
void registerAllScreens();
