#pragma once

// What must hold for any bytes the readers and the argument builder are given.
// Each returns an empty text when it holds, else what went wrong.

#include <string>
#include <string_view>

std::string CheckCatalogueRoundTrip(std::string_view bytes);
std::string CheckConfigurationRoundTrip(std::string_view bytes);
std::string CheckProfileRoundTrip(std::string_view bytes);
// The bytes give the persistence choice, whether credentials come, the group
// line, the user name and the password.
std::string CheckNetUseArguments(std::string_view bytes);
