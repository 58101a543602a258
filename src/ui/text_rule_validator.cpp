#include "ui/text_rule_validator.h"

namespace decor {

TextRuleValidator::TextRuleValidator(Rule rule, QObject* parent) : QValidator(parent), rule_(std::move(rule)) {}

QValidator::State TextRuleValidator::validate(QString& input, int&) const {
  return rule_(input.toStdString()) ? Acceptable : Invalid;
}

}  // namespace decor
