#pragma once

#include <QString>

#include <optional>

namespace pipfield {

/// Whether the program opens when the player logs in.
class LoginItem {
public:
    virtual ~LoginItem() = default;

    virtual bool enabled() const = 0;
    /// Registers or removes the program; the error's text when that failed.
    virtual std::optional<QString> setEnabled(bool on) = 0;
};

} // namespace pipfield
