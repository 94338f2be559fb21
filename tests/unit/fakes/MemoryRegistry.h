#pragma once

#include "core/Registry.h"

#include <QMap>
#include <QStringList>

// Keys in memory; a key present with a null value exists without a default value. Records look-ups.
class MemoryRegistry : public Registry {
public:
    std::optional<QString> defaultValue(Hive hive, const QString& key) override {
        const QString full =
            (hive == Hive::CurrentUser ? QStringLiteral("HKCU\\") : QStringLiteral("HKCR\\")) + key;
        lookups << full;
        const auto it = keys.constFind(full);
        if (it == keys.constEnd()) {
            return std::nullopt;
        }
        return it->isNull() ? QString() : *it;
    }

    QMap<QString, QString> keys; // "HKCU\..." or "HKCR\..." -> default value
    QStringList lookups;
};
