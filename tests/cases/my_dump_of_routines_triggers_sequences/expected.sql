SET NAMES utf8mb4;

