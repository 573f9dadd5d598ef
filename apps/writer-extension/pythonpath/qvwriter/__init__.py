"""The Data Views commands of the QVUser Writer extension."""
