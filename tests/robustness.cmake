# robustness tests
