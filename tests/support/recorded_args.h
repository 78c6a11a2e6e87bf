#pragma once

#include <string>
#include <vector>

// What record-args printed: its arguments, then its standard input.
struct RecordedArgs {
    std::vector<std::string> Arguments;
    std::string Input;
};

RecordedArgs ParseRecordedArgs(const std::string& output);
