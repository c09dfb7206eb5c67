// Message boxes of the window program: a text, an OK button and, where asked,
// the information or critical icon; the caption is the program's title.
// Commands show them through this interface so tests can record them.
#pragma once

#include <string>

class QWidget;

namespace dravella::gui {

enum class MessageIcon { kNone, kInformation, kCritical };

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // Modal: returns when the user has pressed OK. The text is plain text.
  virtual void Show(const std::string& text, MessageIcon icon) = 0;
  // The window the boxes stand over; null for none.
  virtual void SetOwner(QWidget* owner) { (void)owner; }
};

// Shows QMessageBox over the given owner (which may be null).
class QtMessageBoxes final : public MessageBoxes {
 public:
  explicit QtMessageBoxes(QWidget* owner = nullptr) : owner_(owner) {}
  void SetOwner(QWidget* owner) override { owner_ = owner; }
  void Show(const std::string& text, MessageIcon icon) override;

 private:
  QWidget* owner_;
};

}  // namespace dravella::gui
