#pragma once

#include <QString>
#include <optional>

// Read-only access to the default value of a registry key. On Linux a small file-backed store.
class Registry {
public:
    enum class Hive { CurrentUser, ClassesRoot };
    virtual ~Registry() = default;
    // nullopt when the key does not exist; the empty text when it exists without a default value.
    virtual std::optional<QString> defaultValue(Hive hive, const QString& key) = 0;
};
