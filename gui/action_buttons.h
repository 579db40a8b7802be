#pragma once

#include <QHBoxLayout>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace velmar {

using ButtonAction = std::pair<const char*, std::function<void()>>;

// A row of push buttons (none a default button) that each run their action and then `after`,
// which brings the window up to date.
QHBoxLayout* ActionButtonRow(QWidget* owner, const std::vector<ButtonAction>& actions,
                             const std::function<void()>& after);

}  // namespace velmar
