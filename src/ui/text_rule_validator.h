#pragma once
// Lets an edit box take only the text a plain rule (input_rules.h, contact_rules.h) accepts.
#include <QValidator>
#include <functional>
#include <string_view>

namespace decor {

class TextRuleValidator final : public QValidator {
  Q_OBJECT

 public:
  using Rule = std::function<bool(std::string_view utf8)>;
  TextRuleValidator(Rule rule, QObject* parent);

  State validate(QString& input, int& pos) const override;

 private:
  Rule rule_;
};

}  // namespace decor
