// Placeholder until the render code lands.
