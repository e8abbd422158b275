#include "dialogs/form.h"

void FillCombo(Form& form, int id, const std::vector<std::string>& items) {
  form.ClearCombo(id);
  for (const std::string& item : items) form.AddComboItem(id, item);
}
