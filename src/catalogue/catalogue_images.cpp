#include "catalogue_images.h"

std::array<QIcon, 2> MakeCatalogueImages()
{
    return {QIcon(QStringLiteral(":/images/tick.png")), QIcon(QStringLiteral(":/images/key.png"))};
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (const int size : {16, 32, 48, 256})
        icon.addFile(QStringLiteral(":/images/corvane-%1.png").arg(size), QSize(size, size));
    return icon;
}
