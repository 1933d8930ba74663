"""The product's names and version as CMake wrote them when the win preset was configured."""
import shlex
from pathlib import Path

PRODUCT_ENV = Path(__file__).resolve().parents[2] / "build" / "win" / "product.env"


def read_product(path=PRODUCT_ENV):
    """{"PRODUCT_NAME": ..., "EXE_NAME": ..., ...} from the shell assignments of product.env."""
    if not path.exists():
        raise FileNotFoundError(f"{path} is missing: configure the win preset first (scripts/build)")
    return dict(word.split("=", 1) for word in shlex.split(path.read_text(), comments=True))
