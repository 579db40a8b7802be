#include "action_buttons.h"

#include <QPushButton>

namespace velmar {

QHBoxLayout* ActionButtonRow(QWidget* owner, const std::vector<ButtonAction>& actions,
                             const std::function<void()>& after) {
  auto* row = new QHBoxLayout;
  for (const auto& [text, action] : actions) {
    auto* button = new QPushButton(text, owner);
    button->setAutoDefault(false);
    row->addWidget(button);
    QObject::connect(button, &QPushButton::clicked, owner, [action, after] {
      action();
      after();
    });
  }
  return row;
}

}  // namespace velmar
