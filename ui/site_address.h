// The maker's web site domain. It is kept scrambled in the program and
// unscrambled anew on every call.
#pragma once

#include <string>

class CSiteAddress {
public:
    CSiteAddress() = default;
    virtual ~CSiteAddress() = default;

    // The domain that follows "http://www." in the site's address.
    std::string GetDomain() const;
};
