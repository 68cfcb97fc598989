// Stands for Layout's interface, which the host may include.
