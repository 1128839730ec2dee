// Placeholder until the ui code lands.
