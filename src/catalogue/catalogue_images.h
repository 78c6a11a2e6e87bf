#pragma once

#include <QIcon>

#include <array>

// The two small images of catalogue rows: a red tick (no credentials needed)
// and a key (user name and password needed).
std::array<QIcon, 2> MakeCatalogueImages();

// The program's icon, in every size it comes in.
QIcon ProgramIcon();
