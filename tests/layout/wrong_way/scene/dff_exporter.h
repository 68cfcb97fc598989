// Stands for the model's folder, so that the include of it counts.
