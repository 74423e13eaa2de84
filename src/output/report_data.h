#pragma once

#include "output/report_template.h"

#include <kainjow/mustache.hpp>

#include <string>
#include <unordered_set>

// The data a layout is rendered with, built from the parameters and the bound
// datasets. Only for report_template.cpp: the template library stays behind it.
namespace kelvarn::report_template::detail {

// The names a layout can ask for. Rows of a hundred thousand records cost real time
// and memory to copy into the template data, so only what a layout names is served
// (too many is harmless, too few is not: a layout that changes the tag delimiters
// gets everything).
class NameSet {
  public:
    static NameSet of(const std::string& layout);
    bool wants(const std::string& name) const { return all_ || names_.count(name) != 0; }
    bool all() const { return all_; }
    const std::unordered_set<std::string>& names() const { return names_; }

  private:
    bool all_ = false;
    std::unordered_set<std::string> names_;
};

kainjow::mustache::data buildData(const NameSet& names, const Context& context, Images& images);

} // namespace kelvarn::report_template::detail
