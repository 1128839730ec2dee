// Placeholder until the output code lands.
