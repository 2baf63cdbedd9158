#pragma once

// Told when the Print Service has sent the site's settings after registration.
class RegistrationListenerInterface
{
public:
    virtual ~RegistrationListenerInterface() = default;
    virtual void registrationComplete() = 0;
};
