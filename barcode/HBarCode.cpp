#include "barcode/HBarCode.h"

#include "barcode/EngineText.h"

namespace zebrune {

int H_GetBarWidth(TBarType barType, const QString &data, int modul, double ratio, TCheckSum checkSum)
{
    return barWidth(barType, engineText(data), modul, ratio, checkSum);
}

QString H_GetBarTypeName(TBarType barType)
{
    return QString::fromLatin1(barTypeName(barType));
}

QString H_GetVisibleText(TBarType barType, const QString &data, TCheckSum checkSum)
{
    return fromEngineText(encode(barType, engineText(data), 1, 2.0, checkSum).visibleText);
}

} // namespace zebrune
